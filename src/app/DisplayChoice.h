#pragma once

#include <QByteArray>

// Which windowing system the program asks Qt for. Under a Wayland compositor a program cannot
// raise its own window, which the alarm's last stage depends on; the X server that such a
// desktop usually runs beside it (Xwayland) can. So X11 wins when both are there, unless the
// user chose a platform plugin.
namespace DisplayChoice {
// The value for QT_QPA_PLATFORM, or an empty one to leave Qt's own choice alone. Each argument
// is the environment variable's value, empty when it is not set.
QByteArray platformFor(const QByteArray& display, const QByteArray& waylandDisplay,
                       const QByteArray& qpaPlatform);

// Sets QT_QPA_PLATFORM from the environment as platformFor() says; before QApplication.
void apply();
} // namespace DisplayChoice
