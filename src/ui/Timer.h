#pragma once

#include "Control.h"

#include <functional>

// The interval timer. Always enabled; an interval of 0 stops the ticks.
class Timer : public Control {
public:
    explicit Timer(QString name) : Control(Kind::Timer, std::move(name)) {}

    int interval() const { return interval_; }
    bool setInterval(int ms) {
        return ms >= 0 && ms <= 65535 && assign(interval_, ms, Property::Interval);
    }

    Event TimerEvent; // the tick

    // How many ticks from now bring the next update, that tick included. A window nobody sees
    // sleeps that long; unanswered, it is the very next tick, so that no update is missed.
    void answerTicksToUpdate(std::function<qint64()> answer) { ticksToUpdate_ = std::move(answer); }
    qint64 ticksToUpdate() const { return ticksToUpdate_ ? ticksToUpdate_() : 1; }

private:
    int interval_ = 0;
    std::function<qint64()> ticksToUpdate_;
};
