#include "app/NumberText.h"
#include "app/Program.h"
#include "settingsfile/SettingsFileNames.h"

namespace {
void repairSliderValues(Module1& m) {
    if (!(m.BeepIntervalMin < 1 || m.BeepIntervalMin > m.BeepIntervalSet ||
          m.BeepIntervalSet > m.BeepIntervalMax || m.BeepIntervalMax > 999))
        return;
    if (m.BeepIntervalSet < 1 || m.BeepIntervalSet > 999)
        m.BeepIntervalSet = 20;
    if (m.BeepIntervalMin == 0)
        m.BeepIntervalMin = 1;
    if (m.BeepIntervalMax == 0)
        m.BeepIntervalMax = 32;
    if (m.BeepIntervalMin < 1 || m.BeepIntervalMin > m.BeepIntervalSet)
        m.BeepIntervalMin = m.BeepIntervalSet;
    if (m.BeepIntervalMax > 999 || m.BeepIntervalMax < m.BeepIntervalSet)
        m.BeepIntervalMax = m.BeepIntervalSet;
}
} // namespace

// Start-up. Every step runs; one whose statement fails is skipped alone.
void Program::Form_Load() {
    platform_.beep.beep();

    m.AlarmOnsetTime = platform_.clock.secondsSinceMidnight();
    m.SecondsToAlarm = 0;
    setLastTickTime(m.AlarmOnsetTime);

    const QString dir = platform_.environment.programDirectory();
    m.AppDir = dir.endsWith(u'/') ? dir : dir + u'/';
    const QString& resumed = keeper.resumedSettingsFile();
    m.IniPath = resumed.isEmpty() ? m.AppDir + SettingsFileNames::FileName : resumed;

    ReadCommandLine();
    ReadSettingsFile();

    form.Text8.setText(m.StartSetText);
    form.Text8.LostFocus.raise();
    form.Text10.setText(m.DropDeadText);
    form.Text10.LostFocus.raise();

    repairSliderValues(m);

    // The slider is inverted: its Min is the top end, the largest setting.
    form.VScroll1.setMin(m.BeepIntervalMax);
    form.VScroll1.setValue(m.BeepIntervalSet);
    form.VScroll1.setMax(m.BeepIntervalMin);
    form.Timer1.setInterval(form.VScroll1.value());

    form.Text4.setText(m.MessageText);
    form.CmdWrtINI.setEnabled(false);
    if (m.CommandLineLength > 0)
        m.AlarmMode = AlarmModes::ModeArmed;
    form.Text1.setText(NumberText::integer(form.VScroll1.value()));

    m.MessageDirty = Module1::False;
    m.SettingsDirty = Module1::False;
}
