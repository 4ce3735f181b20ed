#include "SystemClock.h"

#include <time.h>

float SystemClock::secondsSinceMidnight() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    // Reading the time zone afresh costs more than the rest of an update, which may come every
    // 10 ms; once a minute still notices a zone changed while the program runs.
    if (now.tv_sec / 60 != zoneMinute_) {
        zoneMinute_ = now.tv_sec / 60;
        tzset();
    }
    tm local{};
    localtime_r(&now.tv_sec, &local);
    const long ms =
        ((local.tm_hour * 60L + local.tm_min) * 60 + local.tm_sec) * 1000 + now.tv_nsec / 1000000;
    return static_cast<float>(ms / 1000.0);
}

double SystemClock::secondsSinceBoot() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

qint64 SystemClock::millisecondsSinceEpoch() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
