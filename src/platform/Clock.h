#pragma once

#include <QtGlobal>

// Local time of day, and a steady clock to tell a suspended machine from a clock set by hand.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight, with sub-second resolution; restarts at 0 at midnight.
    virtual float secondsSinceMidnight() = 0;
    // Seconds since the machine started, counting the time it was suspended; nobody sets it.
    virtual double secondsSinceBoot() = 0;
    // The wall clock as an instant: milliseconds since 1970 in UTC, which a time zone, a suspend or
    // a restart of the program leaves meaning the same moment.
    virtual qint64 millisecondsSinceEpoch() = 0;
};
