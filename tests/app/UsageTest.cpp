#include "app/Usage.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {
Usage::Request requestOf(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"pingolet"};
    argv.insert(argv.end(), arguments);
    return Usage::request(int(argv.size()), argv.data());
}
} // namespace

TEST(Usage, OnlyAWholeCommandLineOfHelpOrVersionIsAQuestion) {
    EXPECT_EQ(requestOf({"--help"}), Usage::Request::Help);
    EXPECT_EQ(requestOf({"--version"}), Usage::Request::Version);

    struct Case {
        std::initializer_list<const char*> arguments;
        const char* why;
    } programLines[] = {
        {{}, "no arguments"},
        {{"--help", "/t2=5"}, "more after it"},
        {{"/t2=5", "--version"}, "something before it"},
        {{"--help", "--version"}, "both"},
        {{"/m=--help"}, "a message"},
        {{"/m=read", "--help"}, "the end of a message"},
        {{"--HELP"}, "another case"},
        {{"-h"}, "a short option"},
        {{"--version "}, "a blank after it"},
        {{"", "--help"}, "an empty argument before it"},
        {{"/?"}, "the program's own help"},
    };
    for (const Case& c : programLines)
        EXPECT_EQ(requestOf(c.arguments), Usage::Request::None) << c.why;
}

TEST(Usage, VersionTextNamesTheProgramAndItsVersion) {
    EXPECT_EQ(Usage::versionText(), QStringLiteral("Pingolet 1.21\n"));
}

TEST(Usage, HelpTextListsEveryArgument) {
    const QString help = Usage::helpText();
    EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: pingolet ")));
    EXPECT_TRUE(help.endsWith(u'\n'));
    for (const char* argument : {"/?", "/t1=", "/t2=", "/t3=", "/ss=", "/dd=", "/m=", "/f=",
                                 "--resume", "--help", "--version"})
        EXPECT_TRUE(help.contains(QLatin1String(argument))) << argument;
    // Terminal-sized lines.
    for (const QString& line : help.split(u'\n'))
        EXPECT_LE(line.size(), 100) << line.toStdString();
}

TEST(Usage, HelpTextSaysWhereTheSettingsFileLivesForTheBuild) {
    const struct {
        SettingsPlace place;
        const char* where;
        const char* notWhere;
    } cases[] = {
        {SettingsPlace::ProgramFolder, "beside the program", "~/.config"},
        {SettingsPlace::UserConfigFolder, "~/.config/pingolet/Pingolet.ini", "beside the program"},
    };
    for (const auto& c : cases) {
        const QString help = Usage::helpText(c.place);
        EXPECT_TRUE(help.contains(QLatin1String(c.where))) << c.where;
        EXPECT_FALSE(help.contains(QLatin1String(c.notWhere))) << c.where;
        for (const QString& line : help.split(u'\n'))
            EXPECT_LE(line.size(), 100) << line.toStdString();
    }
}
