#include "FakePlatform.h"

#include <gtest/gtest.h>
#include <limits>

using namespace AlarmModes;

namespace {
// A program started with slider 20 (an update every 200 ticks) and the given state.
struct Tick : testing::Test {
    Harness h;
    void SetUp() override {
        h.program.Form_Load();
        ASSERT_EQ(h.form.Timer1.interval(), 20);
    }
    void arm(float seconds, std::int16_t mode = ModeArmed) {
        h.m.SecondsToAlarm = seconds;
        h.m.LastTickTime = h.clock.now;
        h.m.AlarmOnsetTime = h.clock.now;
        h.m.AlarmMode = mode;
        h.m.TickCounter = 0;
    }
    // Advances the clock by the update period, then ticks until the update.
    void nextUpdate(float seconds = 4) {
        h.clock.advance(seconds);
        h.tickToNextUpdate();
    }
};
} // namespace

TEST_F(Tick, UpdatesOnceEveryTenTimesIntervalTicksWithTheCounterInText2) {
    arm(100);
    h.program.Timer1_Timer(); // 0 -> 1: an update
    EXPECT_EQ(h.form.Text2.text(), "0.1");
    int updates = 0;
    QStringList shown;
    for (int tick = 2; tick <= 401; ++tick) {
        h.clock.advance(0.02f);
        const float before = h.m.LastTickTime;
        h.program.Timer1_Timer();
        if (h.m.LastTickTime != before)
            ++updates;
        if (tick <= 3 || (tick >= 199 && tick <= 201))
            shown << h.form.Text2.text();
    }
    EXPECT_EQ(updates, 2) << "ticks 201 and 401";
    EXPECT_EQ(shown, (QStringList{"0.2", "0.3", "19.9", "20", "0.1"}));
}

TEST_F(Tick, ForcedUpdateWhileBeepingGivesNoBeepAndRestartsTheCycle) {
    arm(-1);
    const int beeps = h.beep.count;
    h.forcedUpdate();
    EXPECT_EQ(h.beep.count, beeps);
    EXPECT_EQ(h.m.TickCounter, 1);
    EXPECT_EQ(h.form.Text2.text(), "0.1");
}

TEST_F(Tick, ForcedUpdateElsewhereLeavesTheCounterAtZero) {
    arm(50);
    h.forcedUpdate();
    EXPECT_EQ(h.m.TickCounter, 0);
    EXPECT_EQ(h.form.Text2.text(), "0");
    const float before = h.m.LastTickTime;
    h.clock.advance(1);
    h.program.Timer1_Timer();
    EXPECT_NE(h.m.LastTickTime, before) << "the very next tick updates again";
}

// Between two updates the wall clock goes from one time of day to another while the boot clock
// counts what really passed: a suspended machine, midnight, or a clock set by hand.
TEST_F(Tick, MidnightsPassedAreChargedOnce) {
    struct Case {
        const char* what;
        float from, to; // wall clock, seconds since midnight
        double passed;  // boot clock
        float left, leftAfter;
    };
    constexpr double Day = 86400;
    const Case cases[] = {
        {"suspended 23:50 -> 08:00 with 25 min left", 85800, 28800, 29400, 1500, -27900},
        {"suspended 10:00 -> 11:00 next day", 36000, 39600, Day + 3600, 100000, 10000},
        {"three days asleep", 43200, 46800, 3 * Day + 3600, 300000, 37200},
        {"a plain midnight tick 23:59:58 -> 00:00:03", 86398, 3, 5, 100, 95},
        {"clock set back by hand 15:00 -> 14:00", 54000, 50400, 4, 100, 3700},
        {"clock set forward by hand past 02:00", 86000, 10000, 4, 100000, 176000},
    };
    for (const Case& c : cases) {
        h.clock.now = c.from;
        arm(c.left);
        h.program.Timer1_Timer(); // an update at the start time
        h.clock.now = c.to;
        h.clock.boot += c.passed;
        const int beeps = h.beep.count;
        h.tickToNextUpdate();
        EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, c.leftAfter) << c.what;
        EXPECT_EQ(h.beep.count, beeps + (c.leftAfter <= 0)) << c.what;
    }
}

TEST_F(Tick, DropDeadCountsAcrossASuspend) {
    h.m.DropDeadSeconds = 36000;
    h.clock.now = 85800; // 23:50, ten minutes left
    arm(600);
    h.program.Timer1_Timer();
    h.clock.now = 28800; // 08:00: ringing for eight hours
    h.clock.boot += 29400;
    const int beeps = h.beep.count;
    h.tickToNextUpdate();
    EXPECT_EQ(h.beep.count, beeps + 1);
    nextUpdate(7200); // 10:00: ringing for ten hours, DropDead has passed
    EXPECT_EQ(h.beep.count, beeps + 1);
    EXPECT_EQ(h.window.activatedTitles.size(), 1);
}

TEST_F(Tick, NormalAlarmCountsDownThenBeepsEveryUpdate) {
    arm(6);
    const int startBeeps = h.beep.count;
    nextUpdate(); // 2 s left
    EXPECT_EQ(h.beep.count, startBeeps);
    EXPECT_FLOAT_EQ(h.m.AlarmOnsetTime, h.clock.now);
    nextUpdate(2); // exactly 0: beeps
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 0);
    EXPECT_EQ(h.beep.count, startBeeps + 1);
    nextUpdate();
    nextUpdate();
    EXPECT_EQ(h.beep.count, startBeeps + 3);
    EXPECT_EQ(h.form.Text3.backColor(), Colors::Red);
    EXPECT_EQ(h.form.Text3.text(), "8.0 Sec.");
}

TEST_F(Tick, IdleKeepsCountingWithoutAlarm) {
    arm(2, ModeIdle);
    const int startBeeps = h.beep.count;
    nextUpdate();
    nextUpdate();
    EXPECT_EQ(h.beep.count, startBeeps);
    EXPECT_TRUE(h.window.activatedTitles.isEmpty());
    EXPECT_EQ(h.form.Text3.text(), "6.0 Sec.");
}

TEST_F(Tick, StartCommandLaunchesBelowZeroAndEndsTheProgram) {
    h.form.Text4.setText("Start:  /usr/bin/prog \"a b\"  ");
    arm(0, ModeLaunchPending);
    nextUpdate(0);
    EXPECT_TRUE(h.launcher.launches.empty()) << "waits until the countdown is below zero";
    h.launcher.nextResult = 4242;
    nextUpdate(1);
    ASSERT_EQ(h.launcher.launches.size(), 1u);
    EXPECT_EQ(h.launcher.launches[0].commandLine, "/usr/bin/prog \"a b\"");
    EXPECT_EQ(h.launcher.launches[0].style, WindowStyle::NormalNoFocus);
    EXPECT_EQ(h.window.endCount, 1);
    EXPECT_TRUE(h.program.ended());
}

TEST_F(Tick, FailedLaunchTurnsRedBeepsAndRetriesUntilItStarts) {
    h.form.Text4.setText("Start:nothing-here");
    h.m.DropDeadSeconds = 10;
    arm(1, ModeLaunchPending);
    const int startBeeps = h.beep.count;
    nextUpdate();
    EXPECT_EQ(h.launcher.launches.size(), 1u);
    EXPECT_EQ(h.form.Text4.backColor(), Colors::Red);
    EXPECT_EQ(h.m.AlarmMode, ModeLaunchFailed);
    EXPECT_EQ(h.beep.count, startBeeps + 1);

    nextUpdate(); // 8 s since the onset
    EXPECT_EQ(h.launcher.launches.size(), 2u);
    EXPECT_EQ(h.beep.count, startBeeps + 2);

    nextUpdate(); // 12 s: DropDead has passed
    EXPECT_EQ(h.m.AlarmMode, ModeLaunchFailedInYourFace);
    EXPECT_EQ(h.beep.count, startBeeps + 2);
    EXPECT_EQ(h.window.activatedTitles.size(), 1);

    h.launcher.nextResult = 7;
    nextUpdate();
    EXPECT_EQ(h.launcher.launches.size(), 4u);
    EXPECT_TRUE(h.program.ended());
}

TEST_F(Tick, ReRunCyclesBetweenOffAndOnPeriods) {
    h.m.ReRunOffSeconds = 10;
    h.m.ReRunOnSeconds = 5;
    h.m.DropDeadSeconds = 1; // never applies to ReRun
    arm(10, ModeReRunOff);
    const int startBeeps = h.beep.count;
    nextUpdate(); // S 6
    nextUpdate(); // S 2
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOff);
    EXPECT_EQ(h.beep.count, startBeeps);
    nextUpdate(); // S -2: the On period
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOn);
    EXPECT_EQ(h.form.Text4.backColor(), Colors::Orange);
    EXPECT_EQ(h.form.Text9.backColor(), Colors::Orange);
    EXPECT_EQ(h.form.Text9.text(), "0.5");
    EXPECT_EQ(h.beep.count, startBeeps + 1);
    EXPECT_TRUE(h.form.caption().startsWith(">2.0 Sec.<"));
    nextUpdate(); // S -6: a beep, and the On period is over
    EXPECT_EQ(h.beep.count, startBeeps + 2);
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOff);
    EXPECT_EQ(h.form.Text4.backColor(), Colors::Yellow);
    EXPECT_EQ(h.form.Text9.text(), "1");
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 9) << "the overshoot is carried into the Off period";
    EXPECT_TRUE(h.window.activatedTitles.isEmpty());

    nextUpdate(25); // past a whole On period at once: one beep, a whole cycle
    EXPECT_EQ(h.beep.count, startBeeps + 3);
    EXPECT_EQ(h.form.Text9.text(), "2");
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOff);
}

TEST_F(Tick, ForcedUpdateInAReRunOnPeriodBeeps) {
    h.m.ReRunOffSeconds = 10;
    h.m.ReRunOnSeconds = 5;
    arm(-1, ModeReRunOn);
    const int startBeeps = h.beep.count;
    h.forcedUpdate();
    EXPECT_EQ(h.beep.count, startBeeps + 1);
}

TEST_F(Tick, OverflowingCounterIsSkippedNotFatal) {
    h.m.TickCounter = std::numeric_limits<std::int32_t>::max();
    h.program.Timer1_Timer();
    EXPECT_EQ(h.m.TickCounter, 0) << "the failed increment is skipped, then the cycle restarts";
    EXPECT_EQ(h.form.Text2.text(), "214748364.7");
}
