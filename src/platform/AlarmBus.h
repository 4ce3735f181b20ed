#pragma once

#include "AlarmState.h"
#include "WakeTimer.h"

#include <QString>

#include <optional>

// What the session bus shows of a running alarm.
struct AlarmStatus {
    QString id;
    QString message;
    QString title; // the message's first line
    AlarmState state = AlarmState::Idle;
    std::optional<qint64> dueMs; // milliseconds since 1970, UTC; none when nothing is due
    double cycles = 0;           // the ReRun count
    int updateRate = 0;          // the slider's value
    WakeTimer::State wake = WakeTimer::State::None;
};

// Whether two instants of an alarm are the same: the countdown's single float wanders by
// milliseconds between updates, so an instant that moved less than this has not changed.
inline bool sameInstant(qint64 aMs, qint64 bMs) {
    constexpr qint64 ToleranceMs = 2000;
    return (aMs > bMs ? aMs - bMs : bMs - aMs) <= ToleranceMs;
}

// Whole seconds from now to the due time, the nearest (halves away from zero); negative once past.
// In doubles, so that no due time a peer may send overflows; the seconds always fit.
inline qint64 secondsUntil(qint64 dueMs, qint64 nowMs) {
    const double seconds = (double(dueMs) - double(nowMs)) / 1000;
    return qint64(seconds < 0 ? seconds - 0.5 : seconds + 0.5);
}

// The alarm's object on the user's session bus. Told the status after every event; it tells the
// bus only of a change of the state, the due time, the message or the count.
class AlarmBus {
public:
    virtual ~AlarmBus() = default;
    virtual void publish(const AlarmStatus& status) = 0;
};
