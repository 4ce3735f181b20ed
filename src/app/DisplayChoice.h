#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Which windowing system the program asks Qt for. Under a Wayland compositor a program cannot
// raise its own window, which the alarm's last stage depends on; the X server that such a
// desktop usually runs beside it (Xwayland) can. So X11 comes first when both are there, with
// Wayland after it for Qt to fall back to, unless the user chose a platform plugin. Whether a
// display opens is Qt's to find: no connection is made before Qt makes its own (an X server
// with no client left resets, and refuses whoever connects meanwhile).
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
// for a display that Qt could not open (a server that is not there, or refuses). Empty when Qt
// needs none.
QString refusedLine();

// Reads the environment and applies the choice, counting every display it names as one that
// opens; before QApplication. Qt's failure to open them after all ends in StartGuard's
// refusedLine(). Returns noDisplay()'s line when the environment names none to use.
std::optional<QString> prepare();
} // namespace DisplayChoice
