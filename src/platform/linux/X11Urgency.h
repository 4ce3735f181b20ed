#pragma once

class QWindow;

// The ICCCM urgency hint of an X11 window (on Xvfb or Xwayland): what sway and most taskbars
// read as "demands attention". Does nothing on any other windowing system.
namespace X11Urgency {
void set(QWindow& window, bool urgent);
bool isSet(QWindow& window);
} // namespace X11Urgency
