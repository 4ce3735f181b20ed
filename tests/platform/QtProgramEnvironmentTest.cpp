#include "platform/linux/services/QtProgramEnvironment.h"
#include "PlatformTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(QtProgramEnvironment, CommandLineTailJoinsTheArgumentsAfterTheProgramName) {
    struct Case {
        QStringList arguments;
        QString tail;
    };
    const Case cases[] = {
        {{}, ""},
        {{"/usr/bin/pingolet"}, ""},
        {{"/usr/bin/pingolet", "/m=Tea"}, "/m=Tea"},
        {{"/usr/bin/pingolet", "/m=Tea", "is", "ready"}, "/m=Tea is ready"},
        {{"pingolet", "one two", "three"}, "one two three"},
    };
    for (const Case& c : cases) {
        QtProgramEnvironment environment(c.arguments);
        EXPECT_EQ(environment.commandLineTail(), c.tail) << c.arguments.join('|').toStdString();
    }
}

TEST(QtProgramEnvironment, TakesTheApplicationsArgumentsAndTheExecutablesDirectory) {
    platformtest::application();
    QtProgramEnvironment environment;
    EXPECT_EQ(environment.commandLineTail(), "");
    const QString executableDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    EXPECT_EQ(QFileInfo(environment.programDirectory()).canonicalFilePath(), executableDir);
    EXPECT_TRUE(QDir::isAbsolutePath(environment.programDirectory()));
}
