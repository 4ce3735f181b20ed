#pragma once

#include <QElapsedTimer>

// The steady time the ticks are counted against, in nanoseconds from any fixed start. Tests
// pass one they set by hand.
class SteadyTime {
public:
    virtual ~SteadyTime() = default;
    virtual qint64 nanoseconds() = 0;
};

// The machine's monotonic clock.
class MonotonicTime : public SteadyTime {
public:
    MonotonicTime() { elapsed_.start(); }
    qint64 nanoseconds() override { return elapsed_.nsecsElapsed(); }

private:
    QElapsedTimer elapsed_;
};
