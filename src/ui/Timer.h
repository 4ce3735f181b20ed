#pragma once

#include "Control.h"

// The interval timer. Always enabled; an interval of 0 stops the ticks.
class Timer : public Control {
public:
    explicit Timer(QString name) : Control(Kind::Timer, std::move(name)) {}

    int interval() const { return interval_; }
    bool setInterval(int ms) {
        return ms >= 0 && ms <= 65535 && assign(interval_, ms, Property::Interval);
    }

    Event TimerEvent; // the tick

private:
    int interval_ = 0;
};
