#include "FileTestSupport.h"
#include "platform/linux/settings/IniProfileFile.h"

#include <QProcess>

namespace {
using filetest::readBytes;
using filetest::shown;

struct FileUpdateLockTest : filetest::TempDirTest {
    const QByteArray before = "; shared by two copies\r\n[User-Data]\r\nMessage=Tea\r\nKeyA=0\r\n"
                              "KeyB=0\r\n\r\n[HELP]\r\n  \xAB blanks and 1252 \xBB\r\n";
    QString file;
    void SetUp() override {
        filetest::TempDirTest::SetUp();
        file = path("Pingolet.ini");
        filetest::writeBytes(file, before);
    }
    static void start(QProcess& process, const QStringList& arguments) {
        process.start(QStringLiteral(SETTINGS_WRITER), arguments);
        ASSERT_TRUE(process.waitForStarted());
    }
};
} // namespace

TEST_F(FileUpdateLockTest, TwoProcessesSavingAtOnceLoseNothing) {
    QProcess a, b;
    start(a, {"save", file, "KeyA", "200"});
    start(b, {"save", file, "KeyB", "200"});
    for (QProcess* writer : {&a, &b}) {
        ASSERT_TRUE(writer->waitForFinished(60000));
        EXPECT_EQ(writer->exitCode(), 0) << "2: a save failed; 3: a save was lost";
    }
    QByteArray expected = before;
    expected.replace("KeyA=0", "KeyA=200").replace("KeyB=0", "KeyB=200");
    EXPECT_EQ(shown(readBytes(file)), shown(expected));
    EXPECT_EQ(filetest::entries(dirPath()), QStringList{"Pingolet.ini"}) << "no lock left";
}

TEST_F(FileUpdateLockTest, AHeldLockFailsTheSaveAndAKilledHolderReleasesIt) {
    QProcess holder;
    start(holder, {"hold", file});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readAll(), "held\n");

    IniProfileFile profile;
    EXPECT_FALSE(profile.writeString("User-Data", "Message", "Coffee", file));
    EXPECT_EQ(shown(readBytes(file)), shown(before));

    holder.kill(); // SIGKILL: the lock file stays behind
    ASSERT_TRUE(holder.waitForFinished());
    EXPECT_TRUE(profile.writeString("User-Data", "Message", "Coffee", file));
    EXPECT_TRUE(readBytes(file).contains("\r\nMessage=Coffee\r\n"));
    EXPECT_EQ(filetest::entries(dirPath()), QStringList{"Pingolet.ini"});
}
