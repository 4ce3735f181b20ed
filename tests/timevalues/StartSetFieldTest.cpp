#include "FakePlatform.h"

#include <gtest/gtest.h>

using namespace AlarmModes;

namespace {
float startSetAt(float clock, const char* text, Colors::Ole* colour = nullptr) {
    Harness h;
    h.clock.now = clock;
    h.form.Text8.setText(QString::fromUtf8(text));
    h.program.Text8_LostFocus();
    if (colour)
        *colour = h.form.Text8.backColor();
    return h.m.SecondsToAlarm;
}
} // namespace

TEST(StartSetField, TimesOfDayAndDurations) {
    struct Case {
        float clock;
        const char* text;
        float seconds;
    } cases[] = {
        {6 * 3600, "07h30", 5400},    {8 * 3600, "07h30", 84600}, // past today: tomorrow
        {6 * 3600, "07h30m", 5400},   {6 * 3600, "07H30", 25200}, // upper case: a duration
        {6 * 3600, "7h30", 25200},    {6 * 3600, "12h5", 43200},  // too short: a duration
        {6 * 3600, "12hours", 43200}, {6 * 3600, "10h 5m", 36000},
        {6 * 3600, "10 min", 600},    {7.5f * 3600, "07h30", 0},
    };
    for (const Case& c : cases) {
        Colors::Ole colour = 0;
        EXPECT_FLOAT_EQ(startSetAt(c.clock, c.text, &colour), c.seconds) << c.text;
        if (c.seconds > 0) {
            EXPECT_EQ(colour, Colors::WindowBackground) << c.text;
        }
    }
}

TEST(StartSetField, ZeroIsUsableButAnUnusableEntryTurnsRedAndStopsTheAlarm) {
    for (const char* zero : {"0", "0 min"}) {
        Colors::Ole colour = 0;
        EXPECT_EQ(startSetAt(36000, zero, &colour), 0);
        EXPECT_EQ(colour, Colors::WindowBackground) << zero;
    }
    Harness h;
    h.form.Text4.setText("Tea");
    h.m.AlarmMode = ModeArmed;
    h.form.Text8.setText("5");
    h.program.Text8_LostFocus();
    EXPECT_EQ(h.form.Text8.backColor(), Colors::Red);
    EXPECT_EQ(h.m.AlarmMode, ModeIdle);
}

TEST(StartSetField, RestartsTheCountdownAndReJudgesTheMessage) {
    Harness h;
    h.form.Text4.setText("Tea\r\nnow");
    ASSERT_EQ(h.m.AlarmMode, ModeIdle) << "no delay yet";
    h.form.CmdWrtINI.setEnabled(false);
    h.clock.now = 1000;
    h.form.Text8.setText("3 min");
    h.program.Text8_LostFocus();
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 180);
    EXPECT_EQ(h.m.LastTickTime, 1000);
    EXPECT_EQ(h.m.AlarmMode, ModeArmed);
    EXPECT_TRUE(h.form.CmdWrtINI.enabled());
    EXPECT_EQ(h.m.SettingsDirty, Module1::True);
    EXPECT_EQ(h.form.Text3.text(), "3.0 Min.");
    EXPECT_EQ(h.form.caption(), "3.0m-> Tea");
}

TEST(StartSetField, DoubleClickRepairsOnlyARedField) {
    Harness h;
    h.form.Text8.setText("soon");
    h.program.Text8_LostFocus();
    ASSERT_EQ(h.form.Text8.backColor(), Colors::Red);
    h.m.SecondsToAlarm = 12;
    h.program.Text8_DblClick();
    EXPECT_EQ(h.form.Text8.text(), "0Min.");
    EXPECT_EQ(h.form.Text8.backColor(), Colors::WindowBackground);
    EXPECT_EQ(h.m.SecondsToAlarm, 0);

    h.form.Text8.setText("10 min");
    h.program.Text8_LostFocus();
    h.program.Text8_DblClick();
    EXPECT_EQ(h.form.Text8.text(), "10 min");

    h.form.Text10.setText("later");
    h.program.Text10_LostFocus();
    ASSERT_EQ(h.form.Text10.backColor(), Colors::Red);
    h.program.Text10_DblClick();
    EXPECT_EQ(h.form.Text10.text(), "0Min.");
    EXPECT_EQ(h.form.Text10.backColor(), Colors::WindowBackground);
}

TEST(DropDeadField, SetsOnlyTheDropDeadDuration) {
    struct Case {
        const char* text;
        float seconds;
        Colors::Ole colour;
    } cases[] = {{"0.05h", 180, Colors::WindowBackground},
                 {"0", 0, Colors::WindowBackground},
                 {"never", 0, Colors::Red},
                 {"5", 0, Colors::Red}};
    for (const Case& c : cases) {
        Harness h;
        h.m.AlarmMode = ModeArmed;
        h.m.SecondsToAlarm = 42;
        h.m.LastTickTime = 7;
        h.form.Text10.setText(c.text);
        h.program.Text10_LostFocus();
        EXPECT_FLOAT_EQ(h.m.DropDeadSeconds, c.seconds) << c.text;
        EXPECT_EQ(h.form.Text10.backColor(), c.colour) << c.text;
        EXPECT_EQ(h.m.AlarmMode, ModeArmed);
        EXPECT_EQ(h.m.SecondsToAlarm, 42);
        EXPECT_EQ(h.m.LastTickTime, 7);
        EXPECT_EQ(h.m.SettingsDirty, Module1::True);
    }
}

TEST(StartSetField, StartUpWithZeroJudgesTheMessageWithNoDelayLeft) {
    Harness h; // no settings file: StartSet and DropDead are "0"
    h.program.Form_Load();
    EXPECT_EQ(h.m.SecondsToAlarm, 0);
    EXPECT_EQ(h.m.AlarmMode, ModeIdle);
    EXPECT_EQ(h.form.Text8.backColor(), Colors::WindowBackground);
    EXPECT_EQ(h.form.Text4.text(), "Default Message");
    EXPECT_FALSE(h.form.CmdWrtINI.enabled());
}

// Leaving a field restarts nothing unless its text changed; Enter evaluates even an unchanged
// one, the one deliberate restart.
TEST(StartSetField, LeavingAnUnchangedFieldKeepsTheCountdownAndEnterRestartsIt) {
    Harness h;
    h.settingsFile({{"StartSet", "10 min"}, {"DropDead", "1m"}, {"Message", "Tea"}});
    h.program.Form_Load();
    ASSERT_FLOAT_EQ(h.m.SecondsToAlarm, 600);
    h.clock.advance(36);
    h.forcedUpdate();
    ASSERT_FLOAT_EQ(h.m.SecondsToAlarm, 564);

    for (TextBox* field : {&h.form.Text8, &h.form.Text10})
        field->LostFocus.raise();
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 564);
    EXPECT_FALSE(h.form.CmdWrtINI.enabled());
    EXPECT_EQ(h.m.SettingsDirty, Module1::False);

    h.form.Text8.EnterPressed.raise();
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 600);
    EXPECT_TRUE(h.form.CmdWrtINI.enabled());

    // Typed and typed back is no change; a new text is evaluated on leaving.
    h.clock.advance(60);
    h.forcedUpdate();
    h.form.Text8.setText("10 mi");
    h.form.Text8.setText("10 min");
    h.form.Text8.LostFocus.raise();
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 540);
    h.form.Text8.setText("2 min");
    h.form.Text8.LostFocus.raise();
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 120);
    h.form.Text10.setText("0.5m");
    h.form.Text10.LostFocus.raise();
    EXPECT_FLOAT_EQ(h.m.DropDeadSeconds, 30);
    h.form.Text10.setText("2m");
    h.form.Text10.EnterPressed.raise();
    EXPECT_FLOAT_EQ(h.m.DropDeadSeconds, 120);
}
