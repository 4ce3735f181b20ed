#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace {
struct Read {
    std::int16_t min = 0, set = 0, max = 0;
    QString startSet, dropDead, message, iniPath = "/opt/pingolet/Pingolet.ini";
};

Read readLine(const char* tail) {
    Harness h;
    h.environment.tail = QString::fromUtf8(tail);
    h.m.AppDir = "/opt/pingolet/";
    h.m.IniPath = "/opt/pingolet/Pingolet.ini";
    h.program.ReadCommandLine();
    return {h.m.BeepIntervalMin, h.m.BeepIntervalSet, h.m.BeepIntervalMax, h.m.StartSetText,
            h.m.DropDeadText,    h.m.MessageText,     h.m.IniPath};
}
} // namespace

TEST(ReadCommandLine, SliderValuesAreRoundedAndPutInOrder) {
    struct Case {
        const char* tail;
        std::int16_t min, set, max;
    } cases[] = {
        {"/t2=25 /m=Go home", 0, 25, 0},
        {"/T1=5", 5, 0, 0},
        {"/t1=", 0, 0, 0},
        {"/t1=30 /t2=10 /t3=20", 10, 20, 30},
        {"/t1=30 /t2=10", 10, 30, 0},
        {"/t3=5 /t1=9", 5, 0, 9},
        {"/t1=2.5 /t2=3.5", 2, 4, 0}, // halves to even
        {"/t1=1 2", 12, 0, 0},        // blanks inside the number are skipped
        {"/t1=40000 /t2=7", 0, 7, 0}, // does not fit: left alone
        {"/t1=-5", -5, 0, 0},
    };
    for (const Case& c : cases) {
        const Read r = readLine(c.tail);
        EXPECT_EQ(r.min, c.min) << c.tail;
        EXPECT_EQ(r.set, c.set) << c.tail;
        EXPECT_EQ(r.max, c.max) << c.tail;
    }
}

TEST(ReadCommandLine, TextValuesAndTheirEnds) {
    struct Case {
        const char *tail, *startSet, *dropDead, *message;
    } cases[] = {
        {"/ss=10m /dd=30s", "10m ", "30s", ""},       {"/t2=25 /m=Go home", "", "", "Go home"},
        {"/m=Use /ss=5m", "5m", "", "Use /ss=5m"}, // markers inside the message count too
        {"/M=a/b /DD=1 h", "", "1 h", "a/b /DD=1 h"}, {"/ss=07h30", "07h30", "", ""},
    };
    for (const Case& c : cases) {
        const Read r = readLine(c.tail);
        EXPECT_EQ(r.startSet, c.startSet) << c.tail;
        EXPECT_EQ(r.dropDead, c.dropDead) << c.tail;
        EXPECT_EQ(r.message, c.message) << c.tail;
    }
}

TEST(ReadCommandLine, SettingsFilePathIsCompletedFromTheProgramFolder) {
    EXPECT_EQ(readLine("/f=/etc/pingolet/x.ini").iniPath, "/etc/pingolet/x.ini");
    EXPECT_EQ(readLine("/f=x.ini").iniPath, "/opt/pingolet/x.ini");
    EXPECT_EQ(readLine("/F=my dir/x y.ini").iniPath, "/opt/pingolet/my dir/x y.ini");
    const Read both = readLine("/m=hi /f=/tmp/a.ini");
    EXPECT_EQ(both.message, "hi /f=/tmp/a.ini");
    EXPECT_EQ(both.iniPath, "/tmp/a.ini");
}

TEST(ReadCommandLine, HelpRebuildsTheFileAndReadsNothingElse) {
    Harness h;
    h.environment.tail = "/? /m=Hello /t2=5";
    h.profile.set("/opt/pingolet/Pingolet.ini", "Program-Data", "Version", "1.21"); // as built
    h.program.Form_Load();
    EXPECT_EQ(h.files.written.count("/opt/pingolet/Pingolet.ini"), 1u);
    EXPECT_EQ(h.m.BeepIntervalSet, 20);
    EXPECT_TRUE(h.form.Text4.text().startsWith("The help you requested is available"));
    EXPECT_EQ(h.m.CommandLine, "/? /m=Hello /t2=5");
    EXPECT_EQ(h.m.CommandLineLength, 17);
}
