#include "app/DisplayChoice.h"

#include <QStringList>
#include <QtGlobal>

QByteArray DisplayChoice::platformFor(const QByteArray& display, const QByteArray& waylandDisplay,
                                      const QByteArray& qpaPlatform) {
    // Qt itself takes an empty QT_QPA_PLATFORM for an unset one.
    if (!qpaPlatform.isEmpty() || display.isEmpty() || waylandDisplay.isEmpty())
        return {};
    return QByteArrayLiteral("xcb;wayland");
}

std::optional<QString> DisplayChoice::noDisplay(const Displays& d) {
    // A plugin list ("wayland;xcb") works when one of its plugins does; a plugin that needs no
    // display server (offscreen, vnc) always does.
    bool usable = d.qpaPlatform.isEmpty() && (d.x11Opens || d.waylandOpens);
    bool wantsX11 = d.qpaPlatform.isEmpty(), wantsWayland = d.qpaPlatform.isEmpty();
    for (const QByteArray& entry : d.qpaPlatform.split(';')) {
        const QByteArray plugin = entry.split(':').first().trimmed();
        if (plugin.isEmpty())
            continue;
        const bool x11 = plugin == "xcb", wayland = plugin.startsWith("wayland");
        wantsX11 = wantsX11 || x11;
        wantsWayland = wantsWayland || wayland;
        usable = usable || (x11 ? d.x11Opens : wayland ? d.waylandOpens : true);
    }
    if (usable)
        return std::nullopt;

    QStringList failed;
    if (wantsX11 && !d.display.isEmpty())
        failed << QStringLiteral("the X display %1").arg(QString::fromLocal8Bit(d.display));
    if (wantsWayland && !d.waylandDisplay.isEmpty())
        failed << QStringLiteral("the Wayland display %1")
                      .arg(QString::fromLocal8Bit(d.waylandDisplay));
    QStringList unset;
    if (wantsX11 && d.display.isEmpty())
        unset << QStringLiteral("DISPLAY");
    if (wantsWayland && d.waylandDisplay.isEmpty())
        unset << QStringLiteral("WAYLAND_DISPLAY");
    const QString what =
        failed.isEmpty() ? QStringLiteral("no display to show its window on (%1 %2 not set)")
                               .arg(unset.join(QStringLiteral(" and ")),
                                    unset.size() > 1 ? QStringLiteral("are") : QStringLiteral("is"))
                         : QStringLiteral("cannot open ") + failed.join(QStringLiteral(" nor "));
    return what + QStringLiteral("; start it in a desktop session, or under a virtual X server: "
                                 "xvfb-run -a pingolet");
}

void DisplayChoice::apply(const Displays& d) {
    const QByteArray platform =
        platformFor(d.x11Opens ? d.display : QByteArray(),
                    d.waylandOpens ? d.waylandDisplay : QByteArray(), d.qpaPlatform);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

QString DisplayChoice::refusedLine() {
    return noDisplay({qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM")})
        .value_or(QString());
}

std::optional<QString> DisplayChoice::prepare() {
    Displays d{qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM")};
    d.x11Opens = !d.display.isEmpty();
    d.waylandOpens = !d.waylandDisplay.isEmpty();
    if (auto problem = noDisplay(d))
        return problem;
    apply(d);
    return std::nullopt;
}
