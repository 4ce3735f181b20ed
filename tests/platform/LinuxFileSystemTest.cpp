#include "platform/linux/settings/LinuxFileSystem.h"
#include "FileTestSupport.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using filetest::shown;

QByteArray local(const QString& path) {
    return QFile::encodeName(path);
}

class LinuxFileSystemTest : public filetest::TempDirTest {
protected:
    LinuxFileSystem files;
};

TEST_F(LinuxFileSystemTest, IsFileMeansARegularFileBehindAnyLinks) {
    filetest::writeBytes(path("file.ini"), "x");
    ASSERT_TRUE(QDir(dirPath()).mkdir("dir"));
    ASSERT_TRUE(QFile::link("file.ini", path("to-file")));
    ASSERT_TRUE(QFile::link("dir", path("to-dir")));
    ASSERT_TRUE(QFile::link("gone", path("dangling")));
    EXPECT_TRUE(files.isFile(path("file.ini")));
    EXPECT_TRUE(files.isFile(path("to-file")));
    EXPECT_FALSE(files.isFile(path("dir")));
    EXPECT_FALSE(files.isFile(path("to-dir")));
    EXPECT_FALSE(files.isFile(path("dangling")));
    EXPECT_FALSE(files.isFile(path("missing")));
    EXPECT_FALSE(files.isFile(""));
    EXPECT_FALSE(files.isFile("/dev/null"));
}

TEST_F(LinuxFileSystemTest, WritesExactlyTheBytesAndLeavesNothingElse) {
    const QString file = path("out.txt");
    const QByteArray bytes("line\r\n\0\xFF\r\nend", 13);
    ASSERT_TRUE(files.writeFile(file, bytes));
    EXPECT_EQ(shown(filetest::readBytes(file)), shown(bytes));
    ASSERT_TRUE(files.writeFile(file, "short"));
    EXPECT_EQ(shown(filetest::readBytes(file)), "short");
    ASSERT_TRUE(files.writeFile(file, ""));
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(QFileInfo(file).size(), 0);
    EXPECT_EQ(filetest::entries(dirPath()), QStringList({"out.txt"}));
}

TEST_F(LinuxFileSystemTest, KeepsSymbolicLinksAsLinks) {
    ASSERT_TRUE(QDir(dirPath()).mkpath("real/sub"));
    ASSERT_TRUE(QDir(dirPath()).mkdir("links"));
    const QString target = path("real/sub/settings.ini");
    filetest::writeBytes(target, "old");
    // A chain of relative links, each relative to its own directory.
    ASSERT_TRUE(QFile::link("../real/sub/settings.ini", path("links/second")));
    ASSERT_TRUE(QFile::link("links/second", path("first")));
    ASSERT_TRUE(files.writeFile(path("first"), "new"));
    EXPECT_TRUE(QFileInfo(path("first")).isSymLink());
    EXPECT_TRUE(QFileInfo(path("links/second")).isSymLink());
    EXPECT_EQ(filetest::readBytes(target), "new");
    EXPECT_EQ(filetest::entries(path("real/sub")), QStringList({"settings.ini"}));

    // A dangling link gets its target created.
    ASSERT_TRUE(QFile::link("real/created.ini", path("dangling")));
    ASSERT_TRUE(files.writeFile(path("dangling"), "made"));
    EXPECT_TRUE(QFileInfo(path("dangling")).isSymLink());
    EXPECT_EQ(filetest::readBytes(path("real/created.ini")), "made");

    ASSERT_TRUE(QFile::link("loop-b", path("loop-a")));
    ASSERT_TRUE(QFile::link("loop-a", path("loop-b")));
    EXPECT_FALSE(files.writeFile(path("loop-a"), "x"));
    EXPECT_TRUE(QFileInfo(path("loop-a")).isSymLink());
}

TEST_F(LinuxFileSystemTest, KeepsPermissionsAndOwner) {
    const QString file = path("private.ini");
    filetest::writeBytes(file, "old");
    ASSERT_EQ(::chmod(local(file).constData(), 0640), 0);
    ASSERT_TRUE(files.writeFile(file, "new"));
    EXPECT_EQ(filetest::modeOf(file), 0640u);
    EXPECT_EQ(filetest::readBytes(file), "new");

    // A new file gets what the umask allows, as any new file would.
    const mode_t oldMask = ::umask(027);
    const bool created = files.writeFile(path("fresh.ini"), "x");
    ::umask(oldMask);
    ASSERT_TRUE(created);
    EXPECT_EQ(filetest::modeOf(path("fresh.ini")), 0640u);

    if (::geteuid() != 0) {
        return; // only root can make a file that belongs to someone else
    }
    ASSERT_EQ(::chown(local(file).constData(), 4321, 4322), 0);
    ASSERT_TRUE(files.writeFile(file, "again"));
    struct stat info;
    ASSERT_EQ(::stat(local(file).constData(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// Each of these fails before anything is written: the old file stays and no temporary file is
// left. Tests run as root, who may write anything, so a file or directory counts as read-only
// when it has no write bit at all.
TEST_F(LinuxFileSystemTest, RefusesWhatCannotBeWritten) {
    const QString readOnly = path("read-only.ini");
    filetest::writeBytes(readOnly, "keep");
    for (const mode_t mode : {0444, 0400, 0000}) {
        ASSERT_EQ(::chmod(local(readOnly).constData(), mode), 0);
        EXPECT_FALSE(files.writeFile(readOnly, "lost")) << std::oct << mode;
    }
    ASSERT_EQ(::chmod(local(readOnly).constData(), 0644), 0);
    EXPECT_EQ(filetest::readBytes(readOnly), "keep");

    ASSERT_TRUE(QDir(dirPath()).mkdir("locked"));
    filetest::writeBytes(path("locked/inside.ini"), "keep");
    ASSERT_EQ(::chmod(local(path("locked")).constData(), 0555), 0);
    EXPECT_FALSE(files.writeFile(path("locked/inside.ini"), "lost"));
    EXPECT_FALSE(files.writeFile(path("locked/new.ini"), "lost"));
    ASSERT_EQ(::chmod(local(path("locked")).constData(), 0755), 0);
    EXPECT_EQ(filetest::entries(path("locked")), QStringList({"inside.ini"}));
    EXPECT_EQ(filetest::readBytes(path("locked/inside.ini")), "keep");

    // A path below a regular file fails for root too, whatever the permission bits say.
    EXPECT_FALSE(files.writeFile(path("read-only.ini/x.ini"), "lost"));
    EXPECT_FALSE(files.writeFile(path("missing-dir/x.ini"), "lost"));

    ASSERT_TRUE(QDir(dirPath()).mkdir("a-directory"));
    ASSERT_TRUE(QFile::link("a-directory", path("to-directory")));
    EXPECT_FALSE(files.writeFile(path("a-directory"), "lost"));
    EXPECT_FALSE(files.writeFile(path("to-directory"), "lost"));
    EXPECT_FALSE(files.writeFile(path("a-directory") + "/", "lost"));
    EXPECT_TRUE(QFileInfo(path("a-directory")).isDir());
    EXPECT_FALSE(files.writeFile("", "lost"));

    EXPECT_EQ(filetest::entries(dirPath()),
              QStringList({"a-directory", "locked", "read-only.ini", "to-directory"}));
    EXPECT_TRUE(filetest::entries(path("a-directory")).isEmpty());
}

// Lowers the largest file this process may write, so that a write fails half-way the way it
// does on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN); // fail with EFBIG instead of dying
        rlimit lower = old_;
        lower.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &lower) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return active_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
    bool active_ = false;
};

TEST_F(LinuxFileSystemTest, AFailedWriteLeavesTheOldFileWhole) {
    const QString file = path("settings.ini");
    const QByteArray old(3000, 'o');
    filetest::writeBytes(file, old);
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(files.writeFile(file, QByteArray(64 * 1024, 'n')));
        EXPECT_FALSE(files.writeFile(path("new.ini"), QByteArray(64 * 1024, 'n')));
        EXPECT_TRUE(files.writeFile(path("small.ini"), "fits"));
    }
    EXPECT_EQ(filetest::readBytes(file), old);
    EXPECT_EQ(filetest::entries(dirPath()), QStringList({"settings.ini", "small.ini"}));
}

TEST_F(LinuxFileSystemTest, AFullDiskLeavesTheOldFileWhole) {
    const QString disk = path("disk");
    ASSERT_TRUE(QDir(dirPath()).mkdir("disk"));
    if (::mount("pingolet-test", local(disk).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                     << "); AFailedWriteLeavesTheOldFileWhole covers the write error";
    }
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{local(disk)};

    const QString file = disk + "/settings.ini";
    filetest::writeBytes(file, "[S]\r\nKey=1\r\n");
    EXPECT_FALSE(files.writeFile(file, QByteArray(1 << 20, 'n')));
    EXPECT_EQ(filetest::readBytes(file), "[S]\r\nKey=1\r\n");
    EXPECT_EQ(filetest::entries(disk), QStringList({"settings.ini"}));
    EXPECT_TRUE(files.writeFile(file, "[S]\r\nKey=2\r\n"));
    EXPECT_EQ(filetest::readBytes(file), "[S]\r\nKey=2\r\n");
}

} // namespace
