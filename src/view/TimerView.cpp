#include "TimerView.h"

#include <algorithm>
#include <limits>

namespace {
// Below this the coarse timer's 5 % slack would be a visible share of the interval.
constexpr int preciseBelowMs = 20;
// Ticks lost to a longer pause (a suspended machine) are not made up: that would be a burst of
// updates for nothing, and the countdown goes by the clock anyway.
constexpr qint64 catchUpNs = 1'000'000'000;
constexpr qint64 catchUpTicksAtLeast = 2;
constexpr qint64 nsPerMs = 1'000'000;
} // namespace

TimerView::TimerView(Timer& timer, QObject& window, SteadyTime& time)
    : model_(timer), time_(time), timer_(new QTimer(&window)) {
    timer_->setObjectName(timer.name());
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { timeout(); });
}

TimerView::~TimerView() {
    delete timer_;
}

void TimerView::push(Property property) {
    if (property == Property::Interval || property == Property::Enabled)
        restart();
}

void TimerView::pushAll() {
    restart();
}

// A new interval counts afresh from now.
void TimerView::restart() {
    ++restarts_;
    const int interval = model_.interval();
    running_ = interval > 0 && model_.enabled();
    if (!running_) {
        timer_->stop();
        return;
    }
    intervalNs_ = qint64(interval) * nsPerMs;
    raised_ = 0;
    startNs_ = time_.nanoseconds();
    if (asleep_)
        sleepUntilUpdate();
    else
        tickEveryInterval();
}

void TimerView::setAsleep(bool asleep) {
    if (asleep == asleep_)
        return;
    asleep_ = asleep;
    if (!running_)
        return;
    if (asleep) {
        sleepUntilUpdate();
        return;
    }
    tickEveryInterval();
    if (!raising_)
        catchUp();
}

void TimerView::tickEveryInterval() {
    const int interval = model_.interval();
    timer_->setSingleShot(false);
    timer_->setTimerType(interval < preciseBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
    timer_->start(interval);
}

// Wakes when the update's tick is due, to the millisecond: a coarse timer could be 5 % late.
void TimerView::sleepUntilUpdate() {
    updateTick_ = raised_ + std::max<qint64>(1, model_.ticksToUpdate());
    const qint64 waitNs = startNs_ + updateTick_ * intervalNs_ - time_.nanoseconds();
    const qint64 waitMs =
        std::clamp<qint64>((waitNs + nsPerMs - 1) / nsPerMs, 0, std::numeric_limits<int>::max());
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->start(int(waitMs));
}

void TimerView::timeout() {
    if (asleep_) {
        catchUp();
        if (asleep_ && running_)
            sleepUntilUpdate();
        return;
    }
    const qint64 due = dueTicks();
    if (raised_ > due)
        return; // a tick ahead already: this timeout came early
    qint64 ticks = std::max<qint64>(1, due - raised_);
    if (ticks > lostAfterTicks()) {
        raised_ = due - 1;
        ticks = 1;
    }
    raiseTicks(ticks);
}

// Every tick due, however many; only a pause long past the planned update is not made up.
void TimerView::catchUp() {
    const qint64 due = dueTicks();
    qint64 ticks = due - raised_;
    const qint64 late = due - updateTick_;
    if (late > lostAfterTicks()) {
        ticks = updateTick_ - raised_;
        raised_ += late;
    }
    raiseTicks(ticks);
}

// Stops early when a tick changes the interval or wakes the window: what follows counts anew.
void TimerView::raiseTicks(qint64 ticks) {
    const unsigned restarts = restarts_;
    const bool asleep = asleep_;
    raising_ = true;
    for (; ticks > 0 && restarts == restarts_ && asleep == asleep_; --ticks) {
        ++raised_;
        model_.TimerEvent.raise();
    }
    raising_ = false;
}

// The ticks due by now, to the nearest one: a timer that fires a little early is on time.
qint64 TimerView::dueTicks() const {
    return (time_.nanoseconds() - startNs_ + intervalNs_ / 2) / intervalNs_;
}

qint64 TimerView::lostAfterTicks() const {
    return std::max(catchUpTicksAtLeast, catchUpNs / intervalNs_);
}
