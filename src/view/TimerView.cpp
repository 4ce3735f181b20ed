#include "TimerView.h"

namespace {
// Below this the coarse timer's 5 % slack would be a visible share of the interval.
constexpr int preciseBelowMs = 20;
} // namespace

TimerView::TimerView(Timer& timer, QObject& window) : model_(timer), timer_(new QTimer(&window)) {
    timer_->setObjectName(timer.name());
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { model_.TimerEvent.raise(); });
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
    const int interval = model_.interval();
    if (interval <= 0 || !model_.enabled()) {
        timer_->stop();
        return;
    }
    timer_->setTimerType(interval < preciseBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
    timer_->start(interval);
}
