#include "platform/linux/settings/UserConfigFolder.h"
#include "FileTestSupport.h"
#include "PlatformTestSupport.h"
#include "platform/linux/services/QtProgramEnvironment.h"
#include "platform/linux/settings/IniProfileFile.h"
#include "platform/linux/settings/LinuxFileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <functional>

using filetest::TempDirTest;
using platformtest::ScopedEnv;

namespace {

// The two ways the program writes its settings file, each through its own writer.
struct Writer {
    const char* name;
    std::function<bool(const QString&)> write;
};
const Writer writers[] = {
    {"writeFile", [](const QString& path) { return LinuxFileSystem().writeFile(path, "x\r\n"); }},
    {"writeString",
     [](const QString& path) {
         return IniProfileFile().writeString("User-Data", "Message", "Tea", path);
     }},
};

class UserConfigFolderTest : public TempDirTest {
protected:
    QString home() const { return dirPath() + "/home"; }
    QString folder() const { return home() + "/.config/pingolet/"; }
    void SetUp() override {
        TempDirTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(home()));
    }
    ScopedEnv home_{"HOME", QFile::encodeName(dirPath() + "/home")};
    ScopedEnv config_{"XDG_CONFIG_HOME", ""};
};

} // namespace

TEST_F(UserConfigFolderTest, IsTheXdgConfigFolderOrTheHomesDotConfig) {
    const struct {
        QByteArray xdg;
        QString expected;
    } cases[] = {
        {"", folder()},
        {"relative/config", folder()}, // not absolute: ignored, as XDG says
        {"/srv/cfg", "/srv/cfg/pingolet/"},
        {"/srv/cfg/", "/srv/cfg/pingolet/"},
    };
    for (const auto& c : cases) {
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(UserConfigFolder::path(), c.expected) << c.xdg.constData();
        // The installed build's program folder is that folder; the portable build's is not.
        EXPECT_EQ(
            QtProgramEnvironment({"pingolet"}, SettingsPlace::UserConfigFolder).programDirectory(),
            c.expected);
    }
}

TEST_F(UserConfigFolderTest, TheFirstWriteMakesTheFolder) {
    for (const Writer& w : writers) {
        QDir(home()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(home()));
        EXPECT_TRUE(w.write(folder() + "Pingolet.ini")) << w.name;
        EXPECT_TRUE(QFileInfo(folder() + "Pingolet.ini").isFile()) << w.name;
    }
}

TEST_F(UserConfigFolderTest, NoOtherFolderIsMadeAndAClosedPlaceFailsTheWrite) {
    const struct {
        const char* why;
        std::function<void()> arrange;
        QString file;
        QString absent; // must not exist afterwards
        QString kept;   // a file in the way, which must stay as it was
    } cases[] = {
        {"a folder beside the settings folder",
         [] {},
         home() + "/.config/other/Pingolet.ini",
         home() + "/.config/other",
         {}},
        {"a folder below the settings folder",
         [] {},
         folder() + "sub/Pingolet.ini",
         folder() + "sub",
         {}},
        {"a file where .config belongs",
         [this] { filetest::writeBytes(home() + "/.config", "not a folder"); },
         folder() + "Pingolet.ini",
         {},
         home() + "/.config"},
        {"a home without write permission",
         [this] { QFile::setPermissions(home(), QFile::ReadOwner | QFile::ExeOwner); },
         folder() + "Pingolet.ini",
         home() + "/.config",
         {}},
    };
    for (const auto& c : cases) {
        for (const Writer& w : writers) {
            QFile::setPermissions(home(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QDir(home()).removeRecursively();
            ASSERT_TRUE(QDir().mkpath(home()));
            c.arrange();
            EXPECT_FALSE(w.write(c.file)) << c.why << ", " << w.name;
            if (!c.absent.isEmpty()) {
                EXPECT_FALSE(QFileInfo::exists(c.absent)) << c.why << ", " << w.name;
            }
            if (!c.kept.isEmpty()) {
                EXPECT_EQ(filetest::readBytes(c.kept), "not a folder") << c.why << ", " << w.name;
            }
        }
    }
    QFile::setPermissions(home(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
