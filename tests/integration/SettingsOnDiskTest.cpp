#include "FakePlatform.h"
#include "platform/linux/settings/IniProfileFile.h"
#include "platform/linux/settings/LinuxFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A program in a fresh program folder, reading and writing real settings files there.
struct OnDisk : testing::Test {
    QTemporaryDir folder;
    FakeClock clock;
    FakeBeep beep;
    FakeLauncher launcher;
    FakeWindowControl window;
    FakeEnvironment environment;
    IniProfileFile profile;
    LinuxFileSystem files;
    FakeOpener opener;
    FakeNotifier notifier;
    FakeAlarmStore alarms;
    FakeAlarmBus bus;
    FakeWakeTimer wake;
    FakeIdleInhibitor idle;
    Platform platform{clock,  beep,     launcher, window, environment, profile, files,
                      opener, notifier, alarms,   bus,    wake,        idle};
    QString ini;

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        environment.directory = folder.path();
        ini = folder.filePath("Pingolet.ini");
    }
    // A fresh start of the program, as the next run after the ones before.
    std::unique_ptr<Program> start(const QString& arguments = {}) {
        environment.tail = arguments;
        auto program = std::make_unique<Program>(platform);
        program->Form_Load();
        return program;
    }
};
} // namespace

TEST_F(OnDisk, HelpBuildsAFileThatTheNextStartReads) {
    auto first = start("/?");
    EXPECT_EQ(first->form.Text4.text(),
              QString::fromUtf8("The help you requested is available in the text file: «") + ini +
                  QString::fromUtf8("»."));
    const QByteArray built = bytesOf(ini);
    EXPECT_EQ(built.count("\r\n"), 95);

    auto next = start();
    EXPECT_EQ(next->form.Text4.text(), "Default Message");
    EXPECT_EQ(next->m.BeepIntervalSet, 20);
    EXPECT_FLOAT_EQ(next->m.SecondsToAlarm, 180);
    EXPECT_FLOAT_EQ(next->m.DropDeadSeconds, 180);
    EXPECT_EQ(next->m.AlarmMode, AlarmModes::ModeArmed);
    EXPECT_EQ(bytesOf(ini), built) << "reading changes nothing";
}

TEST_F(OnDisk, ASavedMessageComesBackAtTheNextStartAndTheHelpSurvives) {
    start("/?");
    const QByteArray built = bytesOf(ini);
    {
        auto program = start();
        program->form.Text4.setText(QString::fromUtf8("Γειά σου\r\nκόσμε 😀"));
        program->form.CmdWrtINI.Click.raise();
        EXPECT_EQ(program->form.Text4.text(), QString::fromUtf8("Γειά σου  κόσμε 😀"));
    }
    auto next = start();
    EXPECT_EQ(next->form.Text4.text(), QString::fromUtf8("Γειά σου  κόσμε 😀"));
    // Everything but the message line is as it was, now in UTF-8: the help is ASCII apart
    // from its bullets and guillemets.
    const QByteArray saved = bytesOf(ini);
    EXPECT_EQ(saved.count("\r\n"), 95);
    EXPECT_TRUE(saved.contains(QString::fromUtf8("Message=Γειά σου  κόσμε 😀\r\n").toUtf8()));
    EXPECT_TRUE(saved.contains("\r\n[HELP]    HELP"));
}

TEST_F(OnDisk, ReaderCutsLongValuesAndRoundsDown) {
    writeBytes(ini, "[Program-Data]\r\nVersion = 1.21\r\n[User-Data]\r\nBeepIntervalSet = 7.9\r\n"
                    "Message = " +
                        QByteArray(300, 'x') + "\r\n");
    auto program = start();
    EXPECT_EQ(program->m.BeepIntervalSet, 7);
    EXPECT_EQ(program->form.Text4.text(), QString(254, u'x'));
}

TEST_F(OnDisk, AnOlderFileGivesTheNoticeNamingItsPath) {
    writeBytes(ini, "[Program-Data]\nVersion = 1.2\n[User-Data]\nMessage = Saved\n");
    auto program = start();
    EXPECT_TRUE(program->form.Text4.text().contains(ini + ", and perform an .INI re-build"));
    EXPECT_EQ(program->m.AlarmMode, AlarmModes::ModeIdle);
}

TEST_F(OnDisk, AFailedSaveReportsAndLeavesTheFileAsItWas) {
    start("/?");
    const QByteArray built = bytesOf(ini);
    auto program = start();
    ASSERT_TRUE(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    program->form.Text4.setText("Keep me");
    const int beeps = beep.count;
    program->form.CmdWrtINI.Click.raise();
    EXPECT_EQ(program->form.Text4.text(),
              QString::fromUtf8("ERROR! Message not saved! Check for valid write permission. « "
                                "Keep me »"));
    EXPECT_EQ(beep.count, beeps + 1);
    EXPECT_EQ(bytesOf(ini), built);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"Pingolet.ini"});
}

TEST_F(OnDisk, AFileNamedWithFIsReadButNeverRebuilt) {
    const QString other = folder.filePath("my settings/other.ini");
    ASSERT_TRUE(QDir(folder.path()).mkdir("my settings"));
    writeBytes(other, "[Program-Data]\nVersion=1.21\n[User-Data]\nMessage=Other file\n");
    auto program = start("/t2=5 /f=my settings/other.ini");
    EXPECT_EQ(program->m.IniPath, other);
    EXPECT_EQ(program->form.Text4.text(), "Other file");
    EXPECT_FALSE(QFile::exists(ini));
}
