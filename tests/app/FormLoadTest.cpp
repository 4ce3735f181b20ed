#include "FakePlatform.h"

#include <gtest/gtest.h>

TEST(FormLoad, RepairsTheSliderValuesAndLoadsTheSlider) {
    struct Case {
        const char *min, *set, *max;
        int wantMin, wantSet, wantMax;
    } cases[] = {
        {"0", "0", "0", 1, 20, 32},       // nothing given: the defaults
        {"5", "3", "10", 3, 3, 10},       // minimum above the setting
        {"1", "20", "1200", 1, 20, 20},   // maximum too high becomes the setting, not 999
        {"0", "20", "32", 1, 20, 32},     // minimum 0
        {"2", "1000", "0", 2, 20, 32},    // setting out of range
        {"3", "7", "9", 3, 7, 9},         // in order: left alone
        {"1", "999", "999", 1, 999, 999}, // the top end
    };
    for (const Case& c : cases) {
        Harness h;
        h.settingsFile(
            {{"BeepIntervalMin", c.min}, {"BeepIntervalSet", c.set}, {"BeepIntervalMax", c.max}});
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

TEST(FormLoad, FillsTheFieldsInOrderAndLeavesNothingToSave) {
    Harness h;
    h.environment.tail = "/ss=3 min /dd=0.05h";
    h.settingsFile({{"Message", "Tea"}, {"StartSet", "1 h"}});
    QStringList order;
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

    EXPECT_EQ(order, (QStringList{"StartSet 3 min ", "DropDead 0.05h", "slider", "message Tea"}));
    EXPECT_EQ(h.beep.count, 1);
    EXPECT_EQ(h.m.AlarmOnsetTime, 36000);
    EXPECT_EQ(h.m.LastTickTime, 36000);
    EXPECT_FALSE(h.form.CmdWrtINI.enabled());
    EXPECT_EQ(h.m.MessageDirty, Module1::False);
    EXPECT_EQ(h.m.SettingsDirty, Module1::False);
}

TEST(FormLoad, FirstStartWithoutFileOrArgumentsIsIdle) {
    Harness h;
    h.program.Form_Load();
    EXPECT_EQ(h.form.Text4.text(), "Default Message");
    EXPECT_EQ(h.m.AlarmMode, AlarmModes::ModeIdle);
    EXPECT_EQ(h.form.Timer1.interval(), 20);
    EXPECT_EQ(h.form.Text8.text(), "0");
    EXPECT_EQ(h.form.Text8.backColor(), Colors::WindowBackground);
    EXPECT_EQ(h.form.Text3.text(), "0.0 Sec.");
    // The forced update of the slider ran before the message was in place.
    EXPECT_EQ(h.form.caption(), "-->-- Text4");
    h.tickToNextUpdate();
    EXPECT_EQ(h.form.caption(), "--->- Default Message");
    EXPECT_EQ(h.form.CmdEditINI.toolTipText(), "Edit \".INI & HELP\" file using NotePad.");
    EXPECT_FALSE(h.form.CmdWrtINI.enabled());
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
    for (const char* tail : {"hello", "/m=Start: /bin/true", "/m=ReRun: Off=1s On=1s"}) {
        Harness h;
        h.environment.tail = tail;
        h.program.Form_Load();
        EXPECT_EQ(h.m.AlarmMode, AlarmModes::ModeArmed) << tail;
    }
}
