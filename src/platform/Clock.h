#pragma once

// Local time of day.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight, with sub-second resolution; restarts at 0 at midnight.
    virtual float secondsSinceMidnight() = 0;
};
