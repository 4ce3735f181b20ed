#include "SessionBus.h"

#include <QFileInfo>

QString SessionBus::address() {
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty())
        return address;
    const QString socket = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus");
    return QFileInfo::exists(socket) ? QStringLiteral("unix:path=") + socket : QString();
}

std::optional<QDBusConnection> SessionBus::connect(const QString& purpose) {
    const QString where = address();
    if (where.isEmpty())
        return std::nullopt;
    // A connection by a name once used is not opened afresh.
    static int connections = 0;
    const QString name = QStringLiteral("pingolet-%1-%2").arg(purpose).arg(++connections);
    QDBusConnection bus = QDBusConnection::connectToBus(where, name);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(name);
        return std::nullopt;
    }
    return bus;
}
