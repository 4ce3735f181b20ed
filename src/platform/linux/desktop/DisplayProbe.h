#pragma once

#include <QByteArray>

// Whether an X display can be opened: a connection made and closed again by the X library,
// before QApplication. A Wayland display is left to Qt: a compositor that is not there fails Qt's
// start, which StartGuard turns into the same line.
namespace DisplayProbe {
// DISPLAY's value.
bool x11Opens(const QByteArray& display);
} // namespace DisplayProbe
