#pragma once

#include "platform/Clock.h"

// The local time of day from the system clock; CLOCK_BOOTTIME for the steady clock.
class SystemClock : public Clock {
public:
    float secondsSinceMidnight() override;
    double secondsSinceBoot() override;
    qint64 millisecondsSinceEpoch() override;

private:
    long long zoneMinute_ = -1; // the minute in which the time zone was last read
};
