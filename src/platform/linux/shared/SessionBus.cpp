#include "platform/linux/shared/SessionBus.h"

#include <QFileInfo>

namespace {
// A name once used is not opened afresh, even after its connection was closed.
QString unusedName(const QString& purpose) {
    static int connections = 0;
    return QStringLiteral("pingolet-%1-%2").arg(purpose).arg(++connections);
}
} // namespace

SessionBus::SessionBus(const QString& purpose) : name_(unusedName(purpose)) {}

SessionBus::~SessionBus() {
    if (connection_)
        QDBusConnection::disconnectFromBus(name_);
}

QString SessionBus::address() {
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty())
        return address;
    const QString socket = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus");
    return QFileInfo::exists(socket) ? QStringLiteral("unix:path=") + socket : QString();
}

std::optional<QDBusConnection> SessionBus::connection() {
    if (tried_)
        return connection_;
    tried_ = true;
    const QString where = address();
    if (where.isEmpty())
        return std::nullopt;
    QDBusConnection bus = QDBusConnection::connectToBus(where, name_);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(name_);
        return std::nullopt;
    }
    connection_ = bus;
    return connection_;
}
