#include "app/IntegerStore.h"
#include "app/Program.h"
#include "platform/AsciiCase.h"

using namespace AlarmModes;

void Program::SoundAlarm(const float& dropDeadSeconds) {
    if (m.AlarmMode == ModeIdle)
        return;
    const auto elapsed =
        Store::toSingle(double(platform_.clock.secondsSinceMidnight()) - m.AlarmOnsetTime);
    if (!elapsed)
        return;

    if (dropDeadSeconds != 0 && *elapsed >= dropDeadSeconds) {
        // In your face: no beep, the window comes forward and the message flashes.
        form.setWindowState(Form1::Normal);
        platform_.window.activateByTitle(form.caption());
        if (m.AlarmMode == ModeLaunchFailed)
            m.AlarmMode = ModeLaunchFailedInYourFace;
        showNagNotice(*elapsed);
        form.Text4.setForeColor(form.Text4.foreColor() == Colors::Black ? Colors::Red
                                                                        : Colors::Black);
        return;
    }

    // An empty command could never sound, so it falls back to the system beep as well.
    if (m.BeepCommand.isEmpty() || AsciiCase::equal(m.BeepCommand, u"beep")) {
        platform_.beep.beep();
        return;
    }
    // A slow command must not pile up copies of itself at fast update rates.
    if (beepCommandProcess_ > 0 && platform_.launcher.isRunning(beepCommandProcess_))
        return;
    beepCommandProcess_ = platform_.launcher.launch(m.BeepCommand, WindowStyle::MinimizedFocus);
}
