#pragma once

#include "ControlMirror.h"
#include "ui/Timer.h"

#include <QElapsedTimer>
#include <QTimer>

// The interval timer. It has no widget; its ticks raise the model's timer event.
//
// The model counts ticks, and an update comes every 10 x V of them, so the ticks must keep to
// time on average. A QTimer does not: a timeout that comes later than the next one was due
// loses the lateness for good (a busy machine, a slow paint), and a coarse timer may run up to
// 5 % fast or slow for good. So the ticks are counted against a clock: a timeout raises as
// many ticks as have fallen due since the last one, and none while the count is a tick ahead.
class TimerView : public ControlMirror {
public:
    // The QTimer is a child of the window, so that it can be found by the control's name.
    TimerView(Timer& timer, QObject& window);
    ~TimerView() override;
    TimerView(const TimerView&) = delete;
    TimerView& operator=(const TimerView&) = delete;

    void push(Property property) override;
    void pushAll() override;

private:
    void restart();
    void timeout();

    Timer& model_;
    QTimer* timer_;
    QElapsedTimer clock_; // since the ticks started at this interval
    qint64 intervalNs_ = 0;
    qint64 raised_ = 0;     // ticks raised since then
    unsigned restarts_ = 0; // tells a tick loop that a tick changed the interval
};
