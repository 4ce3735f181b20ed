#pragma once

#include "ControlMirror.h"
#include "SteadyTime.h"
#include "ui/Timer.h"

#include <QTimer>

// The interval timer. It has no widget; its ticks raise the model's timer event.
//
// The model counts ticks, and an update comes every 10 x V of them, so the ticks must keep to
// time on average. A QTimer does not: a timeout that comes later than the next one was due
// loses the lateness for good (a busy machine, a slow paint), and a coarse timer may run up to
// 5 % fast or slow for good. So the ticks are counted against a clock: a timeout raises as
// many ticks as have fallen due since the last one, and none while the count is a tick ahead.
//
// While the window is minimised nobody sees the ticks between two updates, and waking for each
// of them is what costs a laptop on battery. Asleep, the timer waits until the tick that brings
// the next update is due and raises all the ticks that fell due meanwhile in one go.
class TimerView : public ControlMirror {
public:
    // The QTimer is a child of the window, so that it can be found by the control's name.
    TimerView(Timer& timer, QObject& window, SteadyTime& time);
    ~TimerView() override;
    TimerView(const TimerView&) = delete;
    TimerView& operator=(const TimerView&) = delete;

    void push(Property property) override;
    void pushAll() override;

    // Minimised: sleep until an update is due. Restored: the ticks due so far at once, then one
    // per interval again. Restored by a tick, the catch-up stops at that tick; what else fell
    // due comes with the next timeout, as for any late one.
    void setAsleep(bool asleep);
    // A change the model made outside the ticks (a forced update) may move the next update.
    void modelChanged() {
        if (asleep_ && !raising_ && running_)
            sleepUntilUpdate();
    }

private:
    void restart();
    void timeout();
    void tickEveryInterval();
    void sleepUntilUpdate();
    void catchUp();
    void raiseTicks(qint64 ticks);
    qint64 dueTicks() const;
    qint64 lostAfterTicks() const;

    Timer& model_;
    SteadyTime& time_;
    QTimer* timer_;
    qint64 startNs_ = 0; // when the ticks started at this interval
    qint64 intervalNs_ = 0;
    qint64 raised_ = 0;     // ticks raised since then
    qint64 updateTick_ = 0; // asleep: the tick that brings the next update
    unsigned restarts_ = 0; // tells a tick loop that a tick changed the interval
    bool running_ = false;
    bool asleep_ = false;
    bool raising_ = false;
};
