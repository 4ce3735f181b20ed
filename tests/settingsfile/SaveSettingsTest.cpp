#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace {
struct Save : testing::Test {
    Harness h;
    void SetUp() override {
        h.settingsFile({});
        h.program.Form_Load();
        h.profile.writes.clear();
    }
    void openArea() { h.m.ControlAreaOpen = 1100; }
};
} // namespace

TEST_F(Save, MessageLineBreaksBecomeBlanksAndTheButtonIsDisabled) {
    h.form.Text4.setText("Buy\r\nmilk");
    ASSERT_TRUE(h.form.CmdWrtINI.enabled());
    h.form.CmdWrtINI.Click.raise();
    EXPECT_EQ(h.profile.writes, QStringList{"User-Data/Message=Buy  milk"});
    EXPECT_EQ(h.form.Text4.text(), "Buy  milk");
    EXPECT_FALSE(h.form.CmdWrtINI.enabled());
    EXPECT_EQ(h.m.MessageDirty, Module1::False);
}

TEST_F(Save, TheOpenAreaAddsSliderAndTimingKeysWhenTheyApply) {
    struct Case {
        float secondsToAlarm, dropDead;
        QStringList extra;
    } cases[] = {
        {60, 180, {"User-Data/StartSet=3 min", "User-Data/DropDead=0.05h"}},
        {0, 180, {"User-Data/DropDead=0.05h"}}, // beeping has begun: StartSet is not written
        {60, 0, {"User-Data/StartSet=3 min"}},  // DropDead not in use
    };
    for (const Case& c : cases) {
        h.profile.writes.clear();
        openArea();
        h.m.SettingsDirty = Module1::True;
        h.form.VScroll1.setMin(50);
        h.form.VScroll1.setValue(10);
        h.form.VScroll1.setMax(5);
        h.form.Text8.setText("3 min");
        h.form.Text10.setText("0.05h");
        h.m.SecondsToAlarm = c.secondsToAlarm;
        h.m.DropDeadSeconds = c.dropDead;
        h.program.CmdWrtINI_Click();
        QStringList want{"User-Data/Message=Default Message", "User-Data/BeepIntervalMax=50",
                         "User-Data/BeepIntervalSet=10", "User-Data/BeepIntervalMin=5"};
        want << c.extra;
        EXPECT_EQ(h.profile.writes, want);
        EXPECT_EQ(h.m.SettingsDirty, Module1::False);
    }
}

TEST_F(Save, AClosedAreaWritesOnlyTheMessageAndKeepsSettingsDirty) {
    h.m.SettingsDirty = Module1::True;
    h.m.SecondsToAlarm = 60;
    h.m.DropDeadSeconds = 60;
    h.program.CmdWrtINI_Click();
    EXPECT_EQ(h.profile.writes, QStringList{"User-Data/Message=Default Message"});
    EXPECT_EQ(h.m.SettingsDirty, Module1::True);
}

TEST_F(Save, AFailedWriteKeepsTheMessageInsideTheErrorAndBeepsOnce) {
    h.profile.failWrites = true;
    h.form.Text4.setText("Call\r\nMum");
    const int beeps = h.beep.count;
    h.program.CmdWrtINI_Click();
    EXPECT_EQ(h.form.Text4.text(),
              QString::fromUtf8("ERROR! Message not saved! Check for valid write permission. « "
                                "Call  Mum »"));
    EXPECT_EQ(h.beep.count, beeps + 1);
}

TEST(SaveIntoAMissingFile, WritesTheVersionSoThatTheNextStartShowsTheMessage) {
    Harness h;
    h.program.Form_Load();
    h.form.Text4.setText("Remember");
    h.program.CmdWrtINI_Click();
    EXPECT_EQ(h.profile.writes,
              (QStringList{"User-Data/Message=Remember", "Program-Data/Version=1.21"}));
    h.files.existing.insert(h.m.IniPath);

    Harness next;
    next.profile = h.profile;
    next.files.existing = h.files.existing;
    next.program.Form_Load();
    EXPECT_EQ(next.form.Text4.text(), "Remember");
}

TEST(EditSettingsFile, OpensAnExistingFileInTheEditor) {
    struct Case {
        const char* editor;
        bool desktopDefault;
    } cases[] = {{"NotePad", true}, {"notepad", true}, {"NOTEPAD", true}, {"gedit -s", false}};
    for (const Case& c : cases) {
        Harness h;
        h.m.IniPath = "/home/me/my settings/Pingolet.ini";
        h.files.existing.insert(h.m.IniPath);
        h.m.IniEditor = c.editor;
        h.form.CmdEditINI.Click.raise();
        if (c.desktopDefault) {
            EXPECT_EQ(h.opener.opened, QStringList{h.m.IniPath}) << c.editor;
            EXPECT_TRUE(h.launcher.launches.empty());
        } else {
            ASSERT_EQ(h.launcher.launches.size(), 1u);
            EXPECT_EQ(h.launcher.launches[0].commandLine,
                      "gedit -s \"/home/me/my settings/Pingolet.ini\"");
            EXPECT_EQ(h.launcher.launches[0].style, WindowStyle::NormalFocus);
            EXPECT_TRUE(h.opener.opened.isEmpty());
        }
    }
}

TEST(EditSettingsFile, AMissingFileExplainsHowToBuildIt) {
    Harness h;
    h.m.IniPath = "/nowhere/Pingolet.ini";
    h.m.IniEditor = "NotePad";
    h.program.CmdEditINI_Click();
    EXPECT_EQ(h.form.Text4.text(),
              QString::fromUtf8("Reduce this message to the two characters «/?» to build the "
                                "missing combination HELP and .INI file."));
    EXPECT_TRUE(h.opener.opened.isEmpty());
    EXPECT_TRUE(h.m.MessageDirty) << "an ordinary change of the message";
}
