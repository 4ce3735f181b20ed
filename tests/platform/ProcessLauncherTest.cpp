#include "platform/linux/services/ProcessLauncher.h"
#include "PlatformTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

using platformtest::ScopedEnv;
using platformtest::waitUntil;

class ProcessLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        root = tmp.path();
        // "dir" too, so that the shortest prefix of ".../dir with blank/prog" is a directory.
        for (const char* dir : {"dir", "dir with blank", "bin"}) {
            ASSERT_TRUE(QDir(root).mkdir(dir));
        }
        // A recorder writes its arguments, one a line, to args.txt beside itself, renamed into
        // place so that the test never reads half a file. "prog more" is a longer prefix
        // that names a program too: the shorter one must win.
        const QByteArray recorder = "#!/bin/sh\n"
                                    "out=\"$(dirname \"$0\")/args.txt\"\n"
                                    "for a in \"$@\"; do echo \"$a\"; done > \"$out.tmp\"\n"
                                    "mv \"$out.tmp\" \"$out\"\n";
        const auto executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        for (const char* file : {"dir with blank/prog", "dir with blank/prog more", "bin/pgrec"}) {
            write(root + "/" + file, recorder, executable);
        }
        write(root + "/data.txt", "not a program\n", QFile::ReadOwner | QFile::WriteOwner);
    }

    static void write(const QString& path, const QByteArray& bytes, QFile::Permissions mode) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                    file.setPermissions(mode));
    }

    qint64 launch(const QString& line) { return launcher.launch(line, WindowStyle::NormalFocus); }

    // The arguments the recorder in the given directory was started with.
    static QStringList recordedArguments(const QString& dir) {
        QFile file(dir + "/args.txt");
        if (!waitUntil([&] { return file.exists(); }) || !file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "the program did not run";
            return {};
        }
        QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        lines.removeLast(); // after the last line end
        file.remove();
        return lines;
    }

    QTemporaryDir tmp;
    QString root;
    ProcessLauncher launcher;
};

TEST_F(ProcessLauncherTest, StartsAProgramWhosePathHoldsBlanksWithQuotedArguments) {
    const struct {
        QString line;
        QStringList arguments;
    } cases[] = {
        {"%1/dir with blank/prog one \"two three\"", {"one", "two three"}},
        {"  %1/dir with blank/prog  ", {}},
        {"%1/dir with blank/prog more", {"more"}},
        {"%1/dir with blank/prog a\"b c\"d \"\"\te", {"ab cd", "", "e"}},
        {"%1/dir with blank/prog \"unclosed quote", {"unclosed quote"}},
        {"\"%1/dir with blank/prog\" quoted", {"quoted"}},
    };
    for (const auto& c : cases) {
        const QString line = c.line.arg(root);
        EXPECT_GT(launch(line), 0) << line.toStdString();
        EXPECT_EQ(recordedArguments(root + "/dir with blank"), c.arguments) << line.toStdString();
    }
}

TEST_F(ProcessLauncherTest, FindsANameOnThePath) {
    const ScopedEnv path("PATH", (root + "/bin:").toUtf8() + qgetenv("PATH"));
    EXPECT_GT(launch("pgrec x \"y z\""), 0);
    EXPECT_EQ(recordedArguments(root + "/bin"), (QStringList{"x", "y z"}));
    EXPECT_GT(launch("true"), 0);
}

TEST_F(ProcessLauncherTest, ALineThatNamesNoExecutableStartsNothing) {
    const QString lines[] = {
        "",
        "   ",
        root + "/missing",
        root + "/missing with blanks",
        "pingolet-no-such-program --help",
        root + "/dir",
        root + "/dir with blank",
        root + "/data.txt",
        "\"" + root + "/dir with blank\"",
    };
    for (const QString& line : lines) {
        EXPECT_EQ(launch(line), 0) << line.toStdString();
    }
}

TEST_F(ProcessLauncherTest, IsRunningFollowsTheStartedProcess) {
    EXPECT_FALSE(launcher.isRunning(0));
    EXPECT_FALSE(launcher.isRunning(-1));

    const qint64 pid = launch("sleep 5");
    ASSERT_GT(pid, 0);
    struct Stop {
        ProcessLauncher& launcher;
        qint64 pid;
        ~Stop() {
            if (launcher.isRunning(pid)) {
                ::kill(pid_t(pid), SIGKILL);
            }
        }
    } stop{launcher, pid};
    EXPECT_TRUE(launcher.isRunning(pid));
    ASSERT_EQ(::kill(pid_t(pid), SIGKILL), 0);
    EXPECT_TRUE(waitUntil([&] { return !launcher.isRunning(pid); }));
}
