#pragma once

class QWindow;

// A window's call for the user's attention on X11 (on Xvfb or Xwayland): the ICCCM urgency hint
// in WM_HINTS, which sway and most taskbars read, and the EWMH state
// _NET_WM_STATE_DEMANDS_ATTENTION, which GNOME, KDE and openbox read. Does nothing on any other
// windowing system.
namespace X11Urgency {
// Sets or clears both.
void set(QWindow& window, bool urgent);
// Whether the urgency hint is set.
bool isSet(QWindow& window);
} // namespace X11Urgency
