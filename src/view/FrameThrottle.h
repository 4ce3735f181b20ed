#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

// Lets a widget show at most one new value per screen frame. The tick may rewrite a display a
// thousand times a second; a screen shows sixty frames at best, and each push costs a layout,
// a repaint and a transfer to the display server. The first change after a quiet frame shows
// at once; changes that follow within the frame show together when it ends, with whatever the
// model holds then, so the last value always shows. Held (the window minimised), nothing is
// pushed; the release shows the newest value at once.
class FrameThrottle {
public:
    static constexpr int frameMs = 16;

    explicit FrameThrottle(std::function<void()> push);

    void request();
    bool pending() const { return timer_.isActive(); }
    void setHeld(bool held);

private:
    void pushNow();

    std::function<void()> push_;
    QTimer timer_;
    QElapsedTimer lastPush_;
    bool held_ = false;
    bool owed_ = false; // a change came while held
};
