#include "TimerView.h"

#include <algorithm>

namespace {
// Below this the coarse timer's 5 % slack would be a visible share of the interval.
constexpr int preciseBelowMs = 20;
// Ticks lost to a longer pause (a suspended machine) are not made up: that would be a burst of
// updates for nothing, and the countdown goes by the clock anyway.
constexpr qint64 catchUpNs = 1'000'000'000;
constexpr qint64 catchUpTicksAtLeast = 2;
} // namespace

TimerView::TimerView(Timer& timer, QObject& window) : model_(timer), timer_(new QTimer(&window)) {
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
    if (interval <= 0 || !model_.enabled()) {
        timer_->stop();
        return;
    }
    timer_->setTimerType(interval < preciseBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
    timer_->start(interval);
    intervalNs_ = qint64(interval) * 1'000'000;
    raised_ = 0;
    clock_.start();
}

void TimerView::timeout() {
    // The ticks due by now, to the nearest one: a timer that fires a little early is on time.
    const qint64 due = (clock_.nsecsElapsed() + intervalNs_ / 2) / intervalNs_;
    if (raised_ > due)
        return; // a tick ahead already: this timeout came early
    qint64 ticks = std::max<qint64>(1, due - raised_);
    if (ticks > std::max(catchUpTicksAtLeast, catchUpNs / intervalNs_)) {
        raised_ = due - 1;
        ticks = 1;
    }
    const unsigned restarts = restarts_;
    for (; ticks > 0 && restarts == restarts_; --ticks) {
        ++raised_;
        model_.TimerEvent.raise();
    }
}
