#include "platform/linux/services/SystemClock.h"

#include <QFile>
#include <QTime>
#include <gtest/gtest.h>

TEST(SystemClock, GivesTheLocalTimeOfDayWithSubSecondResolution) {
    SystemClock clock;
    const double before = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const float now = clock.secondsSinceMidnight();
    const double after = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    if (after < before) {
        GTEST_SKIP() << "midnight passed during the test";
    }
    // A float near the end of the day resolves about 8 ms; a clock of whole seconds would fall
    // up to a second below "before".
    EXPECT_GE(now, before - 0.01);
    EXPECT_LE(now, after + 0.01);
    EXPECT_GE(now, 0.0f);
    EXPECT_LT(now, 86400.0f);
}

// The steady clock counts from boot, suspended time included, as /proc/uptime does.
TEST(SystemClock, BootClockIsTheKernelsUptime) {
    SystemClock clock;
    QFile uptime("/proc/uptime");
    ASSERT_TRUE(uptime.open(QIODevice::ReadOnly));
    const double kernel = uptime.readLine().split(' ').value(0).toDouble();
    EXPECT_NEAR(clock.secondsSinceBoot(), kernel, 1.0);
}
