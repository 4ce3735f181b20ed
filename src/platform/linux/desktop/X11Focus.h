#pragma once

#include <optional>

class QWindow;

// Whether a window has the keyboard focus as the X server and the window manager say, not as
// the toolkit assumes after asking for it: the server's input focus is on the window, and the
// root's _NET_ACTIVE_WINDOW names it where a window manager keeps that property.
namespace X11Focus {
// Empty when the program does not run on X11.
std::optional<bool> has(QWindow& window);
// Whether an event from the X connection may mean that the window just got the focus: a
// FocusIn on it, or a change of the root's _NET_ACTIVE_WINDOW.
bool mayHaveGained(const void* xcbEvent, QWindow& window);
} // namespace X11Focus
