#include "FakePlatform.h"

#include <gtest/gtest.h>

using namespace AlarmModes;

namespace {
struct Reader : testing::Test {
    Harness h;
    const QString path = "/opt/pingolet/Pingolet.ini";
    void SetUp() override {
        h.m.AppDir = "/opt/pingolet/";
        h.m.IniPath = path;
    }
    void read() { h.program.ReadSettingsFile(); }
};
} // namespace

TEST_F(Reader, MissingFileGivesTheDefaults) {
    read();
    EXPECT_EQ(h.m.IniEditor, "NotePad");
    EXPECT_EQ(h.m.BeepCommand, "Beep");
    EXPECT_EQ(h.m.MessageText, "Default Message");
    EXPECT_EQ(h.m.StartSetText, "0");
    EXPECT_EQ(h.m.DropDeadText, "0");
    EXPECT_EQ(h.m.BeepIntervalSet, 0);
}

TEST_F(Reader, CommandLineValuesWin) {
    h.settingsFile({{"Message", "From file"},
                    {"BeepIntervalSet", "7"},
                    {"StartSet", "1 h"},
                    {"BeepIntervalMin", "2"}});
    h.m.MessageText = "Hi";
    h.m.BeepIntervalSet = 25;
    h.m.StartSetText = "10m ";
    read();
    EXPECT_EQ(h.m.MessageText, "Hi");
    EXPECT_EQ(h.m.BeepIntervalSet, 25);
    EXPECT_EQ(h.m.StartSetText, "10m ");
    EXPECT_EQ(h.m.BeepIntervalMin, 2);
}

TEST_F(Reader, SliderValuesAreRoundedDown) {
    h.settingsFile(
        {{"BeepIntervalSet", "7.9"}, {"BeepIntervalMin", "-0.5"}, {"BeepIntervalMax", "many"}});
    read();
    EXPECT_EQ(h.m.BeepIntervalSet, 7);
    EXPECT_EQ(h.m.BeepIntervalMin, -1);
    EXPECT_EQ(h.m.BeepIntervalMax, 0);
}

TEST_F(Reader, ASliderValueOutsideSixteenBitsEndsTheReader) {
    h.settingsFile({{"BeepIntervalSet", "20"},
                    {"BeepIntervalMin", "40000"},
                    {"BeepIntervalMax", "50"},
                    {"DropDead", "1 h"},
                    {"StartSet", "1 h"}});
    read();
    EXPECT_EQ(h.m.BeepIntervalSet, 20);
    EXPECT_EQ(h.m.BeepIntervalMin, 0);
    EXPECT_EQ(h.m.BeepIntervalMax, 0);
    EXPECT_EQ(h.m.DropDeadText, "");
    EXPECT_EQ(h.m.StartSetText, "");
}

TEST_F(Reader, EditorNamesTheHelpButtonsToolTip) {
    h.settingsFile({{"INI_Edit", "/usr/bin/gedit --new-window"}});
    read();
    EXPECT_EQ(h.form.CmdEditINI.toolTipText(),
              "Edit \".INI & HELP\" file using /usr/bin/gedit --new-window.");
    EXPECT_EQ(QString("Edit \".INI & HELP\" file using ").size(), 30);
}

TEST_F(Reader, AnotherVersionOfAnExistingFileGivesTheUpgradeNotice) {
    struct Case {
        const char* version; // nullptr: no Version key
        bool notice;
    } cases[] = {{"1.21", false}, {"1.210", false}, {"1.2", true}, {nullptr, true}};
    for (const Case& c : cases) {
        Harness fresh;
        fresh.m.IniPath = path;
        fresh.settingsFile({{"Message", "Saved"}, {"BEEP", "aplay ding.wav"}});
        if (c.version)
            fresh.profile.set(path, "Program-Data", "Version", c.version);
        else
            fresh.profile.values.erase(FakeProfile::slot(path, "Program-Data", "Version"));
        fresh.m.MessageText = "From the command line";
        fresh.m.AlarmMode = ModeArmed;
        fresh.program.ReadSettingsFile();
        SCOPED_TRACE(c.version ? c.version : "no version");
        EXPECT_EQ(fresh.m.MessageText.startsWith("You seem to have upgraded your program"),
                  c.notice);
        EXPECT_EQ(fresh.m.AlarmMode, c.notice ? ModeIdle : ModeArmed);
        EXPECT_EQ(fresh.m.BeepCommand, "aplay ding.wav") << "the other keys are still read";
        if (c.notice) {
            EXPECT_TRUE(fresh.m.MessageText.contains(" existing file " + path + ", and perform"));
            EXPECT_TRUE(fresh.m.MessageText.endsWith(QString::fromUtf8("characters «/?».")));
        }
    }
    // Without a file there is nothing to upgrade.
    read();
    EXPECT_EQ(h.m.MessageText, "Default Message");
}
