#include "AlarmClockWake.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

AlarmClockWake::AlarmClockWake() = default;

AlarmClockWake::~AlarmClockWake() {
    notifier_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

void AlarmClockWake::arm(qint64 dueMs) {
    if (!tried_) {
        // Made once: a process that may not make one now will not be allowed later either.
        tried_ = true;
        fd_ = ::timerfd_create(CLOCK_REALTIME_ALARM, TFD_NONBLOCK | TFD_CLOEXEC);
        if (fd_ >= 0) {
            notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
            QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { expire(); });
        }
    }
    if (fd_ < 0) {
        state_ = State::Unavailable;
        return;
    }
    itimerspec when{};
    when.it_value.tv_sec = std::time_t(dueMs / 1000);
    when.it_value.tv_nsec = long(dueMs % 1000) * 1'000'000;
    // Cancelled when the clock is set, so that the instant is read again, not missed.
    const bool set =
        ::timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) == 0;
    state_ = set ? State::Armed : State::Unavailable;
}

void AlarmClockWake::disarm() {
    if (fd_ >= 0) {
        const itimerspec never{};
        ::timerfd_settime(fd_, 0, &never, nullptr);
    }
    state_ = State::None;
}

void AlarmClockWake::expire() {
    std::uint64_t expirations = 0;
    // ECANCELED: the clock was set; the update that follows arms it again.
    const ssize_t n = ::read(fd_, &expirations, sizeof expirations);
    if (n < 0 && errno == EAGAIN)
        return;
    state_ = State::None;
    if (expired_)
        expired_();
}
