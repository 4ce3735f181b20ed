#include "settingsfile/SettingsFileText.h"
#include "platform/Windows1252.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <iterator>

namespace {

enum Kind { Exact, StartsWith, Empty };

struct Line {
    int number; // counted from 1
    Kind kind;
    const char16_t* text; // the whole line, or its opening words
};

// The help file's layout: every line, quoted whole or by its opening words.
const Line kLayout[] = {
    {1, Exact, u"[User-Data]"},
    {2, Exact, u"Message = Default Message"},
    {3, Exact, u"BeepIntervalMax = 32"},
    {4, Exact, u"BeepIntervalSet = 20"},
    {5, Exact, u"BeepIntervalMin = 1"},
    {6, Exact, u"DropDead = 0.05h"},
    {7, Exact, u"StartSet = 3 min"},
    {8, Exact, u"INI_Edit = NotePad"},
    {9, Exact, u"BEEP = Beep"},
    {10, Empty, u""},
    {11, Empty, u""},
    {12, Exact, u"[Program-Data]"},
    {13, Exact, u"Version = 1.21"},
    {14, Empty, u""},
    {15, Empty, u""},
    {16, Exact, u"[HELP]    HELP    HELP    HELP    HELP    HELP    HELP    HELP"},
    {17, Empty, u""},
    {18, StartsWith, u"  This program is designed, on being started, to beep and"},
    {19, Exact, u"  \u2022 Editing the message serves to acknowledge the alarm."},
    {20, Empty, u""},
    {21, StartsWith, u"  There are three classes of 'Special Message' which access additional"},
    {22, StartsWith,
     u"  \u2022 The 'Special Message' \u00AB/?\u00BB will re-build this combination HELP"},
    {23, StartsWith, u"    o Note that this message is two characters long, containing"},
    {24, StartsWith,
     u"  \u2022 'Special Messages' beginning \u00ABStart:\u00BB will have the program try,"},
    {25, StartsWith, u"    o The Message Area will be green to indicate this"},
    {26, StartsWith, u"    o The item to be launched must be an executable."},
    {27, Exact, u"    o Command-line parameters may follow the command name."},
    {28, StartsWith, u"  \u2022 Another class of 'Special Message' consists of ones beginning"},
    {29, StartsWith, u"    o Individual time-unit designators may be placed after each number"},
    {30, StartsWith,
     u"    o Counter performance becomes inaccurate somewhere beyond the first trillion"},
    {31, Empty, u""},
    {32, StartsWith, u"  The vertical scrollbar adjusts the beeping frequency. Beside the base"},
    {33, StartsWith, u"  The next box over is a counter, which may be"},
    {34, StartsWith, u"  Another box at the bottom shows. in black on green,"},
    {35, Empty, u""},
    {36, Exact, u"Data and Limits"},
    {37, Exact, u"  \u00ABMessage\u00BB is the message that is displayed."},
    {38, StartsWith, u"  \u2022 A message on the order of 1000 characters, or"},
    {39, StartsWith,
     u"  \u00ABBeepIntervalSet\u00BB is an integer that governs the beep interval. It"},
    {40, StartsWith,
     u"  \u00ABBeepIntervalMax\u00BB is an integer that governs the maximum setting for"},
    {41, StartsWith,
     u"  \u00ABBeepIntervalMin\u00BB is an integer that governs the minimum setting for"},
    {42, StartsWith, u"  \u00ABStartSet\u00BB governs the delay to onset of alarm. It may"},
    {43, StartsWith, u"  \u2022 Time values may be specified as Seconds (or seconds,"},
    {44, StartsWith, u"  \u2022 The hour marker character for a 'Start At' time"},
    {45, StartsWith, u"  \u2022 Adjusting the system clock can generate a 1-day inaccuracy"},
    {46, Exact, u"    o Backwards, crossing midnight."},
    {47, StartsWith, u"    o Backwards, before the first update of the day (which"},
    {48, Exact, u"    o Forwards, crossing midnight, to a time beyond 02h00"},
    {49, StartsWith, u"  \u2022 Durations of 2^128 seconds (a very long time), and"},
    {50, StartsWith,
     u"  \u2022 Decimal fractions are supported, as is base-ten exponentiation (e.g.2E6s"},
    {51, StartsWith, u"  \u00ABDropDead\u00BB is a time value governing the duration of the"},
    {52, Exact, u"  \u2022 This function may be defeated by setting it to zero."},
    {53, StartsWith,
     u"  \u00ABINI_Edit\u00BB specifies the [[Drive:\\]Path\\]Editor to use for editing the .INI"},
    {54, StartsWith,
     u"  \u00ABBEEP\u00BB has a default value of \u00ABBeep\u00BB, which calls the"},
    {55, StartsWith, u"  Illegal data received on start-up can result in default values"},
    {56, Exact, u"  Illegal entries will be highlighted in red."},
    {57, Empty, u""},
    {58, Exact, u"Controls"},
    {59, StartsWith, u"  The 'Save New Settings' button will re-write the Message portion"},
    {60, StartsWith, u"  \u2022 This option may not be available if there are"},
    {61, StartsWith, u"  \u2022 If write-permission is denied, a message advises of the"},
    {62, StartsWith, u"  Above the slider is a button to open the Additional"},
    {63, StartsWith, u"  With the Additional Control Area open, one may also access"},
    {64, Exact, u"  \u2022 Yes, this can be a catch-22 situation."},
    {65, StartsWith, u"  \u2022 If there is no .INI file to be edited"},
    {66, StartsWith, u"  \u2022 Settings changed by editing the .INI file have no"},
    {67, Empty, u""},
    {68, StartsWith, u"  There are four possible sources for the settings of this"},
    {69, Exact, u"  \u2022 Program Internal Default Settings are immutable by the user."},
    {70, StartsWith, u"  \u2022 Valid settings imported from the .INI file, will over-ride"},
    {71, Exact, u"  \u2022 Valid Command-Line Parameters, will over-ride .INI file information."},
    {72, Exact, u"  \u2022 Changes may also be made at Run-Time."},
    {73, Empty, u""},
    {74, Exact, u"Options for the .INI File:"},
    {75, StartsWith, u"  If you wish, you may delete the \u00AB[HELP] . ."},
    {76, StartsWith, u"  The text following the equals sign on any line in"},
    {77, Exact, u"  \u2022 Invalid data will be laundered out."},
    {78, Empty, u""},
    {79, Exact, u"Options for the Command Line:"},
    {80, StartsWith, u"  Command Line arguments may be used to control the program"},
    {81, Empty, u""},
    {82, Exact, u"Allowable Command Line Arguments are:"},
    {83, Exact, u"  [/?]"},
    {84, Exact,
     u"  [/t1=BeepIntervalMin] [/t2=BeepIntervalSet] [/t3=BeepIntervalMax] [/ss=StartSet] "
     u"[/dd=DropDead] and [[/m=Message] or [/f=File]]"},
    {85, StartsWith, u"  \u2022 /? Regenerates this combination HELP and .INI file, and"},
    {86, StartsWith,
     u"  \u2022 BeepIntervalMin, BeepIntervalSet, and BeepIntervalMax, StartSet, DropDead, and "
     u"Message, are"},
    {87, StartsWith,
     u"  \u2022 'File' is the [[Drive:\\]Path\\]File to substitute for the default"},
    {88, StartsWith, u"  \u2022 Note that, since 'Message' may include spaces, it too"},
    {89, StartsWith, u"    o If both /M= and /F= are specified, and if"},
    {90, Empty, u""},
    {91, Exact, u"Options at Run-Time:"},
    {92, StartsWith, u"  Illegal entries in the Additional Control Area will be highlighted"},
    {93, StartsWith, u"  \u2022 Slider values return to their latest acceptable values. StartSet"},
    {94, Empty, u""},
    {95, StartsWith, u"  The latest version of this program should be available for"},
};

QString at(int number) {
    return SettingsFileText::lines().value(number - 1);
}

} // namespace

TEST(SettingsFileText, HasNinetyFiveLines) {
    EXPECT_EQ(SettingsFileText::lines().size(), 95);
    EXPECT_EQ(std::size(kLayout), 95u);
}

TEST(SettingsFileText, FollowsTheLayoutLineByLine) {
    for (const Line& l : kLayout) {
        const QString line = at(l.number);
        const QString text = QString::fromUtf16(l.text);
        switch (l.kind) {
        case Exact:
            EXPECT_EQ(line, text) << "line " << l.number;
            break;
        case StartsWith:
            EXPECT_TRUE(line.startsWith(text)) << "line " << l.number << ": " << line.toStdString();
            EXPECT_GT(line.size(), text.size() + 20) << "line " << l.number << " goes on";
            break;
        case Empty:
            EXPECT_TRUE(line.isEmpty()) << "line " << l.number;
            break;
        }
    }
}

TEST(SettingsFileText, HelpLinesFollowTheTypography) {
    // A heading, a paragraph, a bullet or a sub-point; each a single line, well under 600.
    static const QRegularExpression form(
        QStringLiteral(u"^(?:[^ ]|  [^ \u2022]|  \u2022 [^ ]|    o [^ ]).*[^ ]$"));
    for (int number = 17; number <= 95; ++number) {
        const QString line = at(number);
        if (!line.isEmpty()) {
            EXPECT_TRUE(form.match(line).hasMatch())
                << "line " << number << ": " << line.toStdString();
            EXPECT_LT(line.size(), 600) << "line " << number;
        }
    }
}

TEST(SettingsFileText, EveryLineIsOneLineInTheCodePage) {
    for (int number = 1; number <= 95; ++number) {
        const QString line = at(number);
        EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n')) << "line " << number;
        EXPECT_TRUE(Windows1252::encode(line).has_value()) << "line " << number;
    }
}

TEST(SettingsFileText, LastLineNamesExampleAddresses) {
    static const QRegularExpression last(QStringLiteral(
        u"^  The latest version of this program should be available for download from "
        u"\u00ABhttps?://(?:[^ /\u00BB]+\\.)?example\\.(?:org|com)/[^ \u00BB]*\u00BB\\. "
        u"Bugs and ideas for Upgrade may be submitted to "
        u"\u00AB[^ @\u00BB]+@(?:[^ @\u00BB]+\\.)?example\\.(?:org|com)\u00BB\\.$"));
    EXPECT_TRUE(last.match(at(95)).hasMatch()) << at(95).toStdString();
}

TEST(SettingsFileText, AnInstalledBuildsTextNamesTheUsersSettingsFolder) {
    // Only the three lines that say where the file lives differ, and they name the folder.
    const QStringList& beside = SettingsFileText::lines(SettingsPlace::ProgramFolder);
    const QStringList& installed = SettingsFileText::lines(SettingsPlace::UserConfigFolder);
    ASSERT_EQ(installed.size(), 95);
    for (int number = 1; number <= 95; ++number) {
        const QString& line = installed[number - 1];
        if (number == 22 || number == 85 || number == 87) {
            EXPECT_TRUE(beside[number - 1].contains(QStringLiteral("the program's own folder")));
            EXPECT_TRUE(line.contains(QStringLiteral("~/.config/pingolet/"))) << number;
            EXPECT_FALSE(line.contains(QStringLiteral("program's own folder"))) << number;
            EXPECT_TRUE(Windows1252::encode(line).has_value()) << number;
        } else {
            EXPECT_EQ(line, beside[number - 1]) << number;
        }
    }
}
