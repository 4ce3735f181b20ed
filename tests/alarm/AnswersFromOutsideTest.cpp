#include "FakePlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace AlarmModes;

namespace {
// A started program, its window shown, brought into one of the alarm's states.
void arrange(Harness& h, const QString& state) {
    h.environment.tail = "/ss=10s /dd=8s /t2=20 /m=Tea";
    h.form.Load.raise();
    h.program.keeper.windowShown();
    const auto updates = [&h](int n) {
        for (int i = 0; i < n; ++i) {
            h.clock.advance(4);
            do
                h.form.Timer1.TimerEvent.raise();
            while (h.m.TickCounter != 1);
        }
    };
    if (state.startsWith("rerun"))
        h.form.Text4.setText("ReRun: Off=8s On=8s : stretch");
    if (state.startsWith("launch"))
        h.form.Text4.setText("Start: /nonexistent");
    const int count = state == "beeping"         ? 3
                      : state == "in-your-face"  ? 5
                      : state == "rerun-on"      ? 2
                      : state == "launch-failed" ? 3
                                                 : 0;
    updates(count);
    ASSERT_EQ(alarmStateName(h.program.keeper.state()), state);
}

// What a user or a caller could tell apart afterwards.
auto outcome(Harness& h) {
    return std::make_tuple(alarmStateName(h.program.keeper.state()), h.m.AlarmMode,
                           h.m.SecondsToAlarm, h.form.Text4.backColor(), h.form.CmdWrtINI.enabled(),
                           h.notifier.withdrawn, h.alarms.records.size(), h.alarms.only().mode,
                           h.alarms.only().dueMs, h.form.Text8.text());
}
} // namespace

TEST(AnswersFromOutside, DoWhatTheWindowDoesInEveryState) {
    struct Way {
        const char* name;
        std::function<void(Harness&)> fromOutside;
        std::function<void(Harness&)> inTheWindow;
    };
    const Way ways[] = {
        {"Acknowledge", [](Harness& h) { h.program.Acknowledge(); },
         [](Harness& h) { h.form.Text4.Change.raise(); }},
        {"Snooze", [](Harness& h) { EXPECT_FALSE(h.program.Snooze("5m")); },
         [](Harness& h) {
             h.form.Text8.setText("5m");
             h.form.Text8.LostFocus.raise();
         }},
        {"Cancel", [](Harness& h) { h.program.Cancel(); },
         [](Harness& h) { h.form.Unload.raise(); }},
    };
    for (const char* state : {"counting", "beeping", "in-your-face", "rerun-off", "rerun-on",
                              "launch-pending", "launch-failed"}) {
        for (const Way& way : ways) {
            Harness outside, window;
            arrange(outside, state);
            arrange(window, state);
            way.fromOutside(outside);
            way.inTheWindow(window);
            EXPECT_EQ(outcome(outside), outcome(window)) << way.name << " when " << state;
        }
    }
}

TEST(AnswersFromOutside, AnUnusableSnoozeChangesNothing) {
    Harness h;
    arrange(h, "beeping");
    const auto before = outcome(h);
    const int saves = h.alarms.saves;
    for (const char* duration : {"5", "0", "0 min", "soon", "", "12345678901234567890s"})
        EXPECT_TRUE(h.program.Snooze(duration)) << duration;
    EXPECT_EQ(outcome(h), before);
    EXPECT_EQ(h.alarms.saves, saves);
    EXPECT_EQ(h.program.Snooze("07h30"), std::nullopt) << "a time of day re-arms it";
    EXPECT_EQ(alarmStateName(h.program.keeper.state()), "counting");
}
