#pragma once

#include "platform/Clock.h"

// The local time of day from the system clock; CLOCK_BOOTTIME for the steady clock.
class SystemClock : public Clock {
public:
    float secondsSinceMidnight() override;
    double secondsSinceBoot() override;
};
