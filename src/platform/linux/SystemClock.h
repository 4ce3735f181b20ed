#pragma once

#include "platform/Clock.h"

// The local time of day from the system clock.
class SystemClock : public Clock {
public:
    float secondsSinceMidnight() override;
};
