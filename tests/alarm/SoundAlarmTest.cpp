#include "FakePlatform.h"

#include <gtest/gtest.h>

using namespace AlarmModes;

namespace {
struct SoundAlarmTest : testing::Test {
    Harness h;
    void SetUp() override {
        h.m.AlarmMode = ModeArmed;
        h.m.AlarmOnsetTime = h.clock.now;
        h.m.BeepCommand = "Beep";
    }
};
} // namespace

TEST_F(SoundAlarmTest, IdleDoesNothing) {
    h.m.AlarmMode = ModeIdle;
    h.clock.advance(1000);
    h.program.SoundAlarm(10.0f);
    EXPECT_EQ(h.beep.count, 0);
    EXPECT_TRUE(h.window.activatedTitles.isEmpty());
}

TEST_F(SoundAlarmTest, BeepsUntilDropDeadThenGetsInYourFace) {
    h.clock.advance(9);
    h.program.SoundAlarm(10.0f);
    EXPECT_EQ(h.beep.count, 1);

    h.m.CaptionText = "Tea";
    h.form.setWindowState(Form1::Minimized);
    h.clock.advance(1); // exactly DropDead
    h.program.SoundAlarm(10.0f);
    EXPECT_EQ(h.beep.count, 1) << "no beep in this stage";
    EXPECT_EQ(h.form.windowState(), Form1::Normal);
    // Restoring raised a resize, whose forced update refreshed the caption first.
    EXPECT_EQ(h.window.activatedTitles, QStringList{h.form.caption()});
    EXPECT_TRUE(h.form.caption().endsWith("-- Tea"));
    EXPECT_EQ(h.form.Text4.foreColor(), Colors::Black) << "window text is not black: to black";
    h.program.SoundAlarm(10.0f);
    EXPECT_EQ(h.form.Text4.foreColor(), Colors::Red);
    h.program.SoundAlarm(10.0f);
    EXPECT_EQ(h.form.Text4.foreColor(), Colors::Black);
    EXPECT_EQ(h.m.AlarmMode, ModeArmed);
}

TEST_F(SoundAlarmTest, DropDeadZeroAndNegativeElapsedKeepBeeping) {
    h.clock.advance(100000);
    h.program.SoundAlarm(0.0f);
    h.clock.now = h.m.AlarmOnsetTime - 50; // the clock went back
    h.program.SoundAlarm(10.0f);
    EXPECT_EQ(h.beep.count, 2);
    EXPECT_TRUE(h.window.activatedTitles.isEmpty());
}

TEST_F(SoundAlarmTest, FailedLaunchInYourFaceMarksItsMode) {
    h.m.AlarmMode = ModeLaunchFailed;
    h.clock.advance(20);
    h.program.SoundAlarm(10.0f);
    EXPECT_EQ(h.m.AlarmMode, ModeLaunchFailedInYourFace);
}

TEST_F(SoundAlarmTest, BeepCommandRunsInsteadOfTheSystemBeep) {
    for (const char* systemBeep : {"bEeP", "BEEP", ""}) {
        h.m.BeepCommand = systemBeep;
        h.program.SoundAlarm(0.0f);
    }
    EXPECT_EQ(h.beep.count, 3);
    EXPECT_TRUE(h.launcher.launches.empty());

    h.m.BeepCommand = "paplay /usr/share/sounds/bell.oga";
    h.launcher.nextResult = 100;
    h.program.SoundAlarm(0.0f);
    ASSERT_EQ(h.launcher.launches.size(), 1u);
    EXPECT_EQ(h.launcher.launches[0].commandLine, "paplay /usr/share/sounds/bell.oga");
    EXPECT_EQ(h.launcher.launches[0].style, WindowStyle::MinimizedFocus);
    h.program.SoundAlarm(0.0f);
    EXPECT_EQ(h.launcher.launches.size(), 1u) << "no second copy while the first one runs";
    h.launcher.running.clear();
    h.program.SoundAlarm(0.0f);
    EXPECT_EQ(h.launcher.launches.size(), 2u);
    EXPECT_EQ(h.beep.count, 3);

    h.launcher.nextResult = 0; // a command that cannot start: no beep in its place
    h.launcher.running.clear();
    h.program.SoundAlarm(0.0f);
    h.program.SoundAlarm(0.0f);
    EXPECT_EQ(h.launcher.launches.size(), 4u);
    EXPECT_EQ(h.beep.count, 3);
}
