#include "app/DisplayChoice.h"

#include <QtGlobal>

QByteArray DisplayChoice::platformFor(const QByteArray& display, const QByteArray& waylandDisplay,
                                      const QByteArray& qpaPlatform) {
    // Qt itself takes an empty QT_QPA_PLATFORM for an unset one.
    if (!qpaPlatform.isEmpty() || display.isEmpty() || waylandDisplay.isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}

void DisplayChoice::apply() {
    const QByteArray platform =
        platformFor(qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}
