#include "FakePlatform.h"

#include <gtest/gtest.h>

using namespace AlarmModes;

namespace {
QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    EXPECT_TRUE(lines.back().isEmpty()) << "the last line ends in a line feed too";
    lines.removeLast();
    for (QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << line.constData();
        line.chop(1);
    }
    return lines;
}
} // namespace

TEST(BuildSettingsFile, WritesTheDefaultsAndHelpInTheCodePageWithCrLf) {
    Harness h;
    h.m.AppDir = "/opt/pingolet/";
    h.m.IniPath = "/elsewhere/other.ini"; // named with /f=: not the file rebuilt
    h.m.BeepIntervalSet = 10;
    h.m.StartSetText = "1 h";
    h.m.AlarmMode = ModeReRunOn;
    h.program.BuildSettingsFile();

    ASSERT_EQ(h.files.written.size(), 1u);
    const QByteArray bytes = h.files.written.at("/opt/pingolet/Pingolet.ini");
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    const QList<QByteArray> lines = linesOf(bytes);
    ASSERT_EQ(lines.size(), 95);
    const QList<QByteArray> head{"[User-Data]",
                                 "Message = Default Message",
                                 "BeepIntervalMax = 32",
                                 "BeepIntervalSet = 20",
                                 "BeepIntervalMin = 1",
                                 "DropDead = 0.05h",
                                 "StartSet = 3 min",
                                 "INI_Edit = NotePad",
                                 "BEEP = Beep",
                                 "",
                                 "",
                                 "[Program-Data]",
                                 "Version = 1.21",
                                 "",
                                 "",
                                 "[HELP]    HELP    HELP    HELP    HELP    HELP    HELP    HELP"};
    EXPECT_EQ(lines.mid(0, 16), head);
    EXPECT_TRUE(lines[18].startsWith("  \x95 Editing the message")) << "the bullet is one byte";
    EXPECT_TRUE(bytes.contains("\xAB/?\xBB"));
    EXPECT_EQ(bytes.count('\r'), 95);

    EXPECT_EQ(h.m.MessageText,
              QString::fromUtf8("The help you requested is available in the text file: "
                                "«/opt/pingolet/Pingolet.ini»."));
    EXPECT_EQ(h.m.AlarmMode, ModeIdle);
    EXPECT_EQ(h.m.IniEditor, "NotePad");
}

TEST(BuildSettingsFile, AFailedWriteSaysSoAndStillEndsIdle) {
    Harness h;
    h.files.failWrites = true;
    h.m.AlarmMode = ModeLaunchPending;
    h.m.IniEditor = "vim";
    h.program.BuildSettingsFile();
    EXPECT_EQ(h.m.MessageText,
              QString::fromUtf8("You requested help, but the '.INI' re-build was not allowed. "
                                "Please run the program in a new directory to which the file: "
                                "«Pingolet.ini» (~12 K) may be added."));
    EXPECT_EQ(h.m.AlarmMode, ModeIdle);
    EXPECT_EQ(h.m.IniEditor, "vim");
}
