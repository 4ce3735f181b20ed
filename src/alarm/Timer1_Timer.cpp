#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/NumberText.h"
#include "app/Program.h"

using namespace AlarmModes;

namespace {
// The ReRun count in Text9 rises by a half at each end of an On period.
void addHalfCycle(TextBox& counter) {
    const auto value = NumberRule::leadingNumber(counter.text());
    if (value)
        counter.setText(NumberText::shortest(*value + 0.5));
}
} // namespace

void Program::Timer1_Timer() {
    Store::int32(m.TickCounter, double(m.TickCounter) + 1);

    if (m.TickCounter < 2) {
        const float now = platform_.clock.secondsSinceMidnight();
        correctForMidnight(now);
        Store::single(m.SecondsToAlarm, double(m.SecondsToAlarm) - now + m.LastTickTime);
        setLastTickTime(now);

        if (m.SecondsToAlarm < 0 && m.AlarmMode >= ModeLaunchPending) {
            launchStartCommand();
            if (ended_)
                return;
        } else if (m.AlarmMode == ModeReRunOff || m.AlarmMode == ModeReRunOn) {
            if (m.SecondsToAlarm <= 0) {
                if (m.AlarmMode == ModeReRunOff) {
                    m.AlarmMode = ModeReRunOn;
                    form.Text4.setBackColor(Colors::Orange);
                    form.Text9.setBackColor(Colors::Orange);
                    addHalfCycle(form.Text9);
                }
                const float noDropDead = 0;
                SoundAlarm(noDropDead);
            }
            const auto onLeft = Store::toSingle(double(m.ReRunOnSeconds) + m.SecondsToAlarm);
            if (onLeft && *onLeft <= 0) {
                m.AlarmMode = ModeReRunOff;
                form.Text4.setBackColor(Colors::Yellow);
                form.Text9.setBackColor(Colors::Yellow);
                addHalfCycle(form.Text9);
                Store::single(m.SecondsToAlarm,
                              double(m.SecondsToAlarm) + m.ReRunOffSeconds + m.ReRunOnSeconds);
            }
        } else if (m.AlarmMode <= 4) {
            if (m.SecondsToAlarm > 0)
                m.AlarmOnsetTime = now;
            else if (m.TickCounter != 0)
                SoundAlarm(m.DropDeadSeconds);
            else
                m.TickCounter = 1; // a forced update: no beep, the next one a full cycle later
        }

        float shown = m.SecondsToAlarm;
        ShowTime(shown);
    }

    form.Text2.setText(NumberText::shortest(m.TickCounter / 10.0));
    if (m.TickCounter >= 10 * form.Timer1.interval())
        m.TickCounter = 0;
}

// The "Start:" message's command; a launch that starts ends this program. One resumed too late
// to start fails as a launch that cannot start, without being tried.
void Program::launchStartCommand() {
    if (!keeper.launchMissed() &&
        platform_.launcher.launch(startCommand(), WindowStyle::NormalNoFocus) > 0) {
        keeper.drop(); // at once, so that the program is never started twice
        ended_ = true;
        platform_.window.endProgram();
        return;
    }
    form.Text4.setBackColor(Colors::Red);
    m.AlarmMode = ModeLaunchFailed;
    SoundAlarm(m.DropDeadSeconds);
}
