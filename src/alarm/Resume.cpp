#include "alarm/AlarmKeeper.h"
#include "alarm/LateRule.h"
#include "app/IntegerStore.h"
#include "app/Program.h"

using namespace AlarmModes;

// Start-up as always, from the settings file the alarm used; then the window, the slider and
// the fields as they were, and the alarm where the late rule puts it now. The handlers run
// while nothing is pending, so that the forced updates they cause cannot sound or launch.
void AlarmKeeper::resume(const AlarmRecord& record) {
    id_ = record.id;
    resumedSettingsFile_ = record.settingsFile;
    Program& p = program_;
    Module1& m = p.m;
    Form1& form = p.form;
    form.Load.raise();
    if (p.ended())
        return;
    m.AlarmMode = ModeIdle;

    form.setLeft(record.windowLeft);
    form.setTop(record.windowTop);
    if (record.windowWidth > 0 && record.windowHeight > 0) {
        form.setWidth(record.windowWidth);
        form.setHeight(record.windowHeight);
    }
    form.setWindowState(record.windowState);
    if (record.controlAreaOpen != (m.ControlAreaOpen != 0))
        p.CmdOpnX_Click();

    // Widest first, so that no step refuses the value (the slider is inverted).
    form.VScroll1.setMin(999);
    form.VScroll1.setMax(1);
    form.VScroll1.setValue(record.rateSet);
    form.VScroll1.setMin(record.rateMax);
    form.VScroll1.setMax(record.rateMin);
    m.BeepIntervalMin = record.rateMin;
    m.BeepIntervalSet = record.rateSet;
    m.BeepIntervalMax = record.rateMax;

    form.Text10.setText(record.dropDeadText);
    p.Text10_LostFocus();
    form.Text8.setText(record.startSetText);    // shown; the countdown comes from the record
    p.startSetEvaluated_ = record.startSetText; // so that tabbing through it restarts nothing

    const qint64 nowMs = platform_.clock.millisecondsSinceEpoch();
    const ResumePlan plan = LateRule::plan(record, nowMs);
    Store::single(m.SecondsToAlarm, plan.secondsToAlarm);
    if (form.Text4.text() == record.message)
        p.Text4_Change();
    else
        form.Text4.setText(record.message);

    // The record's alarm over what the message alone makes of it.
    const float now = platform_.clock.secondsSinceMidnight();
    p.setLastTickTime(now);
    Store::single(m.SecondsToAlarm, plan.secondsToAlarm);
    m.AlarmOnsetTime = now;
    if (plan.onsetMs)
        Store::single(m.AlarmOnsetTime, now - double(nowMs - *plan.onsetMs) / 1000.0);
    m.AlarmMode = plan.mode;
    form.Text9.setText(plan.cycles);
    switch (plan.mode) {
    case ModeReRunOff:
    case ModeReRunOn: {
        const Colors::Ole colour = plan.mode == ModeReRunOff ? Colors::Yellow : Colors::Orange;
        form.Text9.setVisible(true);
        form.Text9.setBackColor(colour);
        form.Text4.setBackColor(colour);
        break;
    }
    case ModeLaunchPending:
        form.Text4.setBackColor(Colors::Green);
        break;
    case ModeLaunchFailed:
        form.Text4.setBackColor(Colors::Red);
        break;
    default:
        break;
    }
    launchMissed_ = plan.launchMissed;
    if (plan.late)
        lateDueMs_ = record.dueMs;
    float shown = m.SecondsToAlarm;
    p.ShowTime(shown);

    form.CmdWrtINI.setEnabled(false);
    m.MessageDirty = Module1::False;
    m.SettingsDirty = Module1::False;
    m.TickCounter = 0; // the first tick brings the first update
}
