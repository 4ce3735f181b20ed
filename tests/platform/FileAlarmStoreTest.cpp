#include "platform/linux/alarms/FileAlarmStore.h"
#include "FileTestSupport.h"

#include <QDir>
#include <QProcess>

namespace {
using filetest::readBytes;

struct FileAlarmStoreTest : filetest::TempDirTest {
    QString folder, entry;
    std::unique_ptr<FileAlarmStore> store;
    void SetUp() override {
        filetest::TempDirTest::SetUp();
        folder = path("state/pingolet");
        entry = path("config/autostart/pingolet.resume.desktop");
        store = std::make_unique<FileAlarmStore>(folder, entry, "/opt/My Apps/pingolet");
    }
    static QStringList ids(const std::vector<AlarmStore::Stored>& all) {
        QStringList out;
        for (const auto& s : all)
            out << s.id + (s.held ? "*" : "");
        out.sort();
        return out;
    }
};
} // namespace

TEST_F(FileAlarmStoreTest, TheAutostartEntryStaysWhileAnyRecordDoes) {
    ASSERT_TRUE(store->save("aaaaaaaa", "one"));
    ASSERT_TRUE(store->save("bbbbbbbb", "two"));
    EXPECT_EQ(readBytes(folder + "/aaaaaaaa.json"), "one");
    EXPECT_TRUE(readBytes(entry).contains("\nExec=\"/opt/My Apps/pingolet\" --resume\n"));
    EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
    store->remove("aaaaaaaa");
    EXPECT_TRUE(QFileInfo::exists(entry));
    store->remove("bbbbbbbb");
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_EQ(QDir(folder).entryList({"*.json", "*.lock"}, QDir::Files), QStringList());
}

TEST_F(FileAlarmStoreTest, AHoldEndsWithItsProcessHoweverItEnds) {
    ASSERT_TRUE(store->save("cccccccc", "three"));
    FileAlarmStore other(folder, entry, "/x");
    EXPECT_FALSE(other.hold("cccccccc")) << "held by this process's store";

    QProcess holder;
    holder.start(QStringLiteral(SETTINGS_WRITER), {"hold-alarm", folder, "dddddddd"});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readAll(), "held\n");
    filetest::writeBytes(folder + "/dddddddd.json", "four");
    EXPECT_FALSE(store->hold("dddddddd"));
    EXPECT_EQ(store->holder("dddddddd"), holder.processId());
    EXPECT_EQ(ids(store->list()), (QStringList{"cccccccc*", "dddddddd*"}));

    holder.kill(); // SIGKILL: nothing tidies up, the kernel drops the lock
    ASSERT_TRUE(holder.waitForFinished());
    EXPECT_EQ(ids(store->list()), (QStringList{"cccccccc*", "dddddddd"}));
    EXPECT_TRUE(store->hold("dddddddd"));
}

TEST_F(FileAlarmStoreTest, AFolderThatCannotBeMadeFailsTheSaveAlone) {
    ASSERT_TRUE(QDir().mkpath(path("state")));
    filetest::writeBytes(folder, "a file where the folder should be"); // fails even for root
    EXPECT_FALSE(store->save("eeeeeeee", "five"));
    QFile::remove(folder);
    EXPECT_TRUE(store->save("eeeeeeee", "five"));
}

// The line names why the write failed, not whatever error an earlier call left behind.
TEST_F(FileAlarmStoreTest, AFailedWriteIsReportedOnceWithItsOwnReason) {
    ASSERT_TRUE(QDir().mkpath(folder + "/ffffffff.json"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store->save("ffffffff", "six"));
    EXPECT_FALSE(store->save("ffffffff", "six"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "pingolet: cannot write " + folder.toStdString() +
                  "/ffffffff.json (it is not a regular file): the alarm runs on, but will not "
                  "come back if Pingolet is stopped\n");
}
