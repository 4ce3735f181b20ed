#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace {
struct SliderCase {
    int min, set, max;
    int wantMin, wantSet, wantMax;
};
} // namespace

TEST(FormLoad, RepairsTheSliderValuesAndLoadsTheSlider) {
    const SliderCase cases[] = {
        {0, 0, 0, 1, 20, 32},       // nothing given: the defaults
        {5, 3, 10, 3, 3, 10},       // minimum above the setting
        {1, 20, 1200, 1, 20, 20},   // maximum too high becomes the setting, not 999
        {0, 20, 32, 1, 20, 32},     // minimum 0
        {2, 1000, 0, 2, 20, 32},    // setting out of range
        {3, 7, 9, 3, 7, 9},         // in order: left alone
        {1, 999, 999, 1, 999, 999}, // the top end
    };
    for (const SliderCase& c : cases) {
        Harness h;
        h.program.readSettingsFile = [&] {
            h.m.BeepIntervalMin = std::int16_t(c.min);
            h.m.BeepIntervalSet = std::int16_t(c.set);
            h.m.BeepIntervalMax = std::int16_t(c.max);
        };
        h.program.Form_Load();
        SCOPED_TRACE(testing::Message() << c.min << "," << c.set << "," << c.max);
        EXPECT_EQ(h.m.BeepIntervalMin, c.wantMin);
        EXPECT_EQ(h.m.BeepIntervalSet, c.wantSet);
        EXPECT_EQ(h.m.BeepIntervalMax, c.wantMax);
        // Inverted: Min is the top end.
        EXPECT_EQ(h.form.VScroll1.min(), c.wantMax);
        EXPECT_EQ(h.form.VScroll1.max(), c.wantMin);
        EXPECT_EQ(h.form.VScroll1.value(), c.wantSet);
        EXPECT_EQ(h.form.Timer1.interval(), c.wantSet);
        EXPECT_EQ(h.form.Text1.text(), QString::number(c.wantSet));
    }
}

TEST(FormLoad, RunsItsStepsInOrderAndLeavesNothingToSave) {
    Harness h;
    QStringList order;
    h.program.readCommandLine = [&] {
        order << "command line";
        h.m.StartSetText = "3 min";
        h.m.DropDeadText = "0.05h";
    };
    h.program.readSettingsFile = [&] {
        order << "settings file";
        h.m.MessageText = "Tea\r\nis ready";
    };
    h.form.Text8.LostFocus.connect([&] { order << "StartSet " + h.form.Text8.text(); });
    h.form.Text10.LostFocus.connect([&] { order << "DropDead " + h.form.Text10.text(); });
    h.form.VScroll1.Change.connect([&] { order << "slider"; });
    h.form.Text4.Change.connect([&] {
        order << "message " + h.form.Text4.text();
        h.form.CmdWrtINI.setEnabled(true);
        h.m.MessageDirty = Module1::True;
        h.m.SettingsDirty = Module1::True;
    });

    h.program.Form_Load();

    EXPECT_EQ(order, (QStringList{"command line", "settings file", "StartSet 3 min",
                                  "DropDead 0.05h", "slider", "message Tea\r\nis ready"}));
    EXPECT_EQ(h.beep.count, 1);
    EXPECT_EQ(h.m.AlarmOnsetTime, 36000);
    EXPECT_EQ(h.m.LastTickTime, 36000);
    EXPECT_FALSE(h.form.CmdWrtINI.enabled());
    EXPECT_EQ(h.m.MessageDirty, Module1::False);
    EXPECT_EQ(h.m.SettingsDirty, Module1::False);
    EXPECT_EQ(h.m.AlarmMode, AlarmModes::ModeIdle) << "no command line: nothing arms it";
}

TEST(FormLoad, SettlesTheProgramDirectoryAndSettingsPath) {
    for (const char* dir : {"/opt/pingolet", "/opt/pingolet/"}) {
        Harness h;
        h.environment.directory = dir;
        h.program.Form_Load();
        EXPECT_EQ(h.m.AppDir, "/opt/pingolet/");
        EXPECT_EQ(h.m.IniPath, "/opt/pingolet/Pingolet.ini");
    }
    Harness root;
    root.environment.directory = "/";
    root.program.Form_Load();
    EXPECT_EQ(root.m.IniPath, "/Pingolet.ini");
}

TEST(FormLoad, AnyCommandLineArmsTheAlarm) {
    Harness h;
    h.program.readCommandLine = [&] { h.m.CommandLineLength = 3; };
    h.program.Form_Load();
    EXPECT_EQ(h.m.AlarmMode, AlarmModes::ModeArmed);
}
