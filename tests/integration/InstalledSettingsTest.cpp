#include "../platform/PlatformTestSupport.h"
#include "FakePlatform.h"
#include "platform/linux/services/QtProgramEnvironment.h"
#include "platform/linux/settings/IniProfileFile.h"
#include "platform/linux/settings/LinuxFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {
// The installed build in a fresh home: its settings live in ~/.config/pingolet/.
struct Installed : testing::Test {
    QTemporaryDir home;
    platformtest::ScopedEnv homeEnv{"HOME", QFile::encodeName(home.path())};
    platformtest::ScopedEnv configEnv{"XDG_CONFIG_HOME", ""};
    FakeClock clock;
    FakeBeep beep;
    FakeLauncher launcher;
    FakeWindowControl window;
    IniProfileFile profile;
    LinuxFileSystem files;
    FakeOpener opener;
    FakeNotifier notifier;
    FakeAlarmStore alarms;
    FakeAlarmBus bus;
    FakeWakeTimer wake;
    FakeIdleInhibitor idle;
    std::unique_ptr<QtProgramEnvironment> environment;
    std::unique_ptr<Platform> platform;
    QString folder() const { return home.path() + "/.config/pingolet/"; }

    std::unique_ptr<Program> start(const QString& arguments = {}) {
        QStringList argv{"/usr/bin/pingolet"};
        if (!arguments.isEmpty())
            argv += arguments.split(u' ');
        environment = std::make_unique<QtProgramEnvironment>(argv, SettingsPlace::UserConfigFolder);
        platform = std::make_unique<Platform>(Platform{clock, beep, launcher, window, *environment,
                                                       profile, files, opener, notifier, alarms,
                                                       bus, wake, idle});
        auto program = std::make_unique<Program>(*platform);
        program->Form_Load();
        return program;
    }
    QString message(const QString& arguments) { return start(arguments)->form.Text4.text(); }
};
} // namespace

TEST_F(Installed, StartsWithoutAFolderAndMakesItWhenItFirstWrites) {
    EXPECT_EQ(message({}), "Default Message");
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/.config")) << "reading makes nothing";

    EXPECT_EQ(message("/?"), QString::fromUtf8("The help you requested is available in the text "
                                               "file: «") +
                                 folder() + QString::fromUtf8("Pingolet.ini»."));
    QFile built(folder() + "Pingolet.ini");
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    EXPECT_EQ(built.readAll().count("\r\n"), 95);

    // A relative /f= is the settings folder's, and a save into a fresh home makes the folder.
    QDir(folder()).removeRecursively();
    auto program = start("/f=notes.ini");
    program->form.Text4.setText("Tea");
    program->form.CmdWrtINI.Click.raise();
    EXPECT_EQ(program->form.Text4.text(), "Tea");
    EXPECT_EQ(message("/f=notes.ini"), "Tea");
    EXPECT_TRUE(QFileInfo(folder() + "notes.ini").isFile());
}

TEST_F(Installed, AFileInThePlaceOfTheFolderGivesTheUnwritableFoldersErrors) {
    QFile blocker(home.path() + "/.config");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    EXPECT_TRUE(
        message("/?").startsWith("You requested help, but the '.INI' re-build was not allowed."));
    auto program = start();
    program->form.Text4.setText("Tea");
    program->form.CmdWrtINI.Click.raise();
    EXPECT_EQ(
        program->form.Text4.text(),
        QString::fromUtf8("ERROR! Message not saved! Check for valid write permission. « Tea »"));
    EXPECT_TRUE(QFileInfo(home.path() + "/.config").isFile());
}
