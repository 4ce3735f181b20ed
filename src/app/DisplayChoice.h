#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Which windowing system the program asks Qt for. Under a Wayland compositor a program cannot
// raise its own window, which the alarm's last stage depends on; the X server that such a
// desktop usually runs beside it (Xwayland) can. So X11 wins when both are there, unless the
// user chose a platform plugin.
namespace DisplayChoice {
// The value for QT_QPA_PLATFORM, or an empty one to leave Qt's own choice alone. Each argument
// is the environment variable's value, empty when it is not set.
QByteArray platformFor(const QByteArray& display, const QByteArray& waylandDisplay,
                       const QByteArray& qpaPlatform);

// The displays the environment names (each variable's value, empty when unset), the platform
// plugin chosen, and which of the displays could be opened.
struct Displays {
    QByteArray display;
    QByteArray waylandDisplay;
    QByteArray qpaPlatform;
    bool x11Opens = false;
    bool waylandOpens = false;
};

// Without a display Qt gives up with an abort and advice to reinstall: instead, one line that
// says what is missing and names the way out. Nothing when Qt will find a display to use.
std::optional<QString> noDisplay(const Displays& displays);

// Sets QT_QPA_PLATFORM as platformFor() says, counting only a display that opens; before
// QApplication.
void apply(const Displays& displays);

// noDisplay()'s line for the displays the environment names, as though none of them opened:
// for a display that Qt could not open after all (a Wayland compositor that is not there, an X
// server that refused Qt after the probe). Empty when Qt needs none.
QString refusedLine();

// Reads the environment, probes its X display and applies the choice; before QApplication.
// A Wayland display counts as opening when it is named: Qt connects to it itself, and StartGuard
// turns its failure into refusedLine(). Returns noDisplay()'s line when there is none to use.
std::optional<QString> prepare(bool (*x11Opens)(const QByteArray& display));
} // namespace DisplayChoice
