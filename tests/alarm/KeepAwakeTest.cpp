#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace {
constexpr qint64 Minute = 60'000;

struct KeepAwake : testing::Test, DrivenProgram {};
} // namespace

// The timer follows the instant the alarm waits for, and only when it moves; its expiry is the
// update that sounds the alarm at once; the desktop stays awake from 30 minutes before until the
// alarm is answered.
TEST_F(KeepAwake, TheWakeTimerAndTheInhibitionFollowTheAlarm) {
    start("/ss=2h /dd=1h /t2=20 /m=Tea");
    const qint64 start = h.clock.epochMs;
    ASSERT_EQ(h.wake.armed.size(), 1u);
    EXPECT_NEAR(h.wake.armed[0], start + 120 * Minute, 1000);
    EXPECT_FALSE(h.idle.held()) << "two hours away";

    enter(h.form.Text8, "20m");
    ASSERT_EQ(h.wake.armed.size(), 2u) << "moved with the countdown";
    EXPECT_NEAR(h.wake.armed[1], start + 20 * Minute, 1000);
    ASSERT_TRUE(h.idle.held());
    EXPECT_TRUE(h.idle.reasons[0].startsWith("Tea: due at ")) << h.idle.reasons[0].toStdString();

    for (int i = 0; i < 250; ++i) // over 16 minutes of updates
        update();
    EXPECT_EQ(h.wake.armed.size(), 2u) << "an update that moves nothing re-arms nothing";
    EXPECT_EQ(h.idle.reasons.size(), 1);

    // The machine slept through the rest and wakes at the instant: the update comes at once.
    h.clock.advance(float((h.wake.armed[1] - h.clock.epochMs) / 1000.0));
    const int beeps = h.beep.count;
    h.wake.expire();
    EXPECT_EQ(alarmStateName(h.program.keeper.state()), "beeping");
    EXPECT_EQ(h.beep.count, beeps + 1);
    EXPECT_EQ(h.wake.current, WakeTimer::State::None) << "nothing is due any more";
    EXPECT_TRUE(h.idle.held()) << "it sounds";
    EXPECT_EQ(h.idle.reasons.size(), 1) << "one inhibition per program";

    h.program.Acknowledge();
    EXPECT_FALSE(h.idle.held());
}

// The clock was set: the timer is spent, yet the alarm still waits.
TEST_F(KeepAwake, AnExpiryBeforeTheInstantArmsTheTimerAgain) {
    start("/ss=20m /t2=20 /m=Tea");
    h.wake.expire();
    EXPECT_EQ(alarmStateName(h.program.keeper.state()), "counting");
    EXPECT_EQ(h.wake.armed.size(), 2u);
    EXPECT_EQ(h.wake.current, WakeTimer::State::Armed);
}

TEST_F(KeepAwake, WhatIsArmedForEachKindOfAlarmAndWhatEndsIt) {
    struct Case {
        const char* what;
        const char* arguments;
        std::function<void(DrivenProgram&)> then;
        bool armed;
        bool held;
    } cases[] = {
        {"a ReRun's Off period: its next On period", "/ss=0 /m=ReRun: Off=10m On=1m : stretch",
         [](DrivenProgram&) {}, true, true},
        {"a Start: program due in an hour", "/ss=1h /m=Start: /usr/bin/true", [](DrivenProgram&) {},
         true, false},
        {"cancelled", "/ss=5m /m=Tea", [](DrivenProgram& t) { t.h.program.Cancel(); }, false,
         false},
        {"snoozed further", "/ss=5m /m=Tea", [](DrivenProgram& t) { t.h.program.Snooze("3h"); },
         true, false},
    };
    for (const Case& c : cases) {
        DrivenProgram t;
        t.start(c.arguments);
        c.then(t);
        EXPECT_EQ(t.h.wake.current == WakeTimer::State::Armed, c.armed) << c.what;
        EXPECT_EQ(t.h.idle.held(), c.held) << c.what;
    }
}

TEST_F(KeepAwake, AWakeTimerThatCannotBeMadeIsShownAndChangesNothingElse) {
    h.wake.available = false;
    start("/ss=10s /dd=1h /t2=20 /m=Tea");
    ASSERT_FALSE(h.bus.published.empty());
    EXPECT_EQ(h.bus.published.back().wake, WakeTimer::State::Unavailable);
    for (int i = 0; i < 4; ++i)
        update();
    EXPECT_EQ(alarmStateName(h.program.keeper.state()), "beeping");
}
