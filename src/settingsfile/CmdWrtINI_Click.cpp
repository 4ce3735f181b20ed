#include "app/Program.h"

// Save New Settings.
void Program::CmdWrtINI_Click() {
    QString message = form.Text4.text();
    message.replace(u'\r', u' ');
    message.replace(u'\n', u' ');
    m.MessageText = message;

    // The slider is inverted: its Min end holds the largest interval.
    m.BeepIntervalMax = std::int16_t(form.VScroll1.min());
    m.BeepIntervalMin = std::int16_t(form.VScroll1.max());
    m.BeepIntervalSet = std::int16_t(form.VScroll1.value());
    m.StartSetText = form.Text8.text();
    m.DropDeadText = form.Text10.text();

    SaveSettings();

    form.Text4.setText(m.MessageText);
    form.CmdWrtINI.setEnabled(false);
    m.MessageDirty = Module1::False;
    if (m.ControlAreaOpen != 0)
        m.SettingsDirty = Module1::False;
}
