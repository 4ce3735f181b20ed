#pragma once

#include "ControlMirror.h"
#include "ui/Timer.h"

#include <QTimer>

// The interval timer. It has no widget; its ticks raise the model's timer event.
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

    Timer& model_;
    QTimer* timer_;
};
