#include "FrameThrottle.h"

#include <utility>

FrameThrottle::FrameThrottle(std::function<void()> push) : push_(std::move(push)) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { pushNow(); });
}

void FrameThrottle::request() {
    if (held_) {
        owed_ = true;
        return;
    }
    if (timer_.isActive())
        return; // the frame's push is booked and will take the newest value
    const qint64 since = lastPush_.isValid() ? lastPush_.elapsed() : frameMs;
    if (since >= frameMs)
        pushNow();
    else
        timer_.start(int(frameMs - since));
}

void FrameThrottle::setHeld(bool held) {
    held_ = held;
    if (held) {
        owed_ = owed_ || timer_.isActive();
        timer_.stop();
    } else if (std::exchange(owed_, false)) {
        pushNow();
    }
}

void FrameThrottle::pushNow() {
    lastPush_.start();
    push_();
}
