#pragma once

#include <QByteArray>

// Whether a display can be opened: a connection made and closed again, before QApplication.
namespace DisplayProbe {
// DISPLAY's value.
bool x11Opens(const QByteArray& display);
// WAYLAND_DISPLAY's value: a socket by absolute path or in XDG_RUNTIME_DIR.
bool waylandOpens(const QByteArray& name);
} // namespace DisplayProbe
