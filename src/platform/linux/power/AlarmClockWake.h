#pragma once

#include "platform/WakeTimer.h"

#include <QSocketNotifier>

#include <memory>

// A timer on the wall clock that wakes a suspended machine (timerfd, CLOCK_REALTIME_ALARM, set
// to an absolute instant). The kernel lets only a process with CAP_WAKE_ALARM make one: root,
// and since systemd 254 the processes of a user logged in on a local seat. Elsewhere it is
// unavailable, and the alarm rings once the machine is awake again, as before.
class AlarmClockWake : public WakeTimer {
public:
    AlarmClockWake();
    ~AlarmClockWake() override;
    AlarmClockWake(const AlarmClockWake&) = delete;
    AlarmClockWake& operator=(const AlarmClockWake&) = delete;

    void onExpiry(std::function<void()> expired) override { expired_ = std::move(expired); }
    void arm(qint64 dueMs) override;
    void disarm() override;
    State state() const override { return state_; }

private:
    void expire();

    std::function<void()> expired_;
    int fd_ = -1;
    bool tried_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    State state_ = State::None;
};
