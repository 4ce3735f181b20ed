#pragma once

#include <QString>

#include <functional>

// A timer that wakes a suspended machine at an instant, where the session may arm one.
class WakeTimer {
public:
    enum class State {
        None,       // nothing is due
        Armed,      // set for the due instant
        Unavailable // something is due, but no timer that wakes the machine can be made here
    };

    virtual ~WakeTimer() = default;
    // What runs when the instant of arm() comes; set once, before the first arm().
    virtual void onExpiry(std::function<void()> expired) = 0;
    // Sets the timer for this instant (milliseconds since 1970, UTC), or moves it there.
    virtual void arm(qint64 dueMs) = 0;
    // Nothing is due any more: the timer goes.
    virtual void disarm() = 0;
    virtual State state() const = 0;
};

// The state's name wherever it is written: "armed", "unavailable", and an empty one for None.
QString wakeStateName(WakeTimer::State state);
