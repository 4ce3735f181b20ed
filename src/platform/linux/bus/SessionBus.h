#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>

// The user's session bus, as the environment names it now.
namespace SessionBus {
// Empty when there is none. Without an address libdbus would launch a bus of its own, which
// nobody would stop.
QString address();
// A connection of its own under a name never used before in this process; empty without a bus.
std::optional<QDBusConnection> connect(const QString& purpose);
} // namespace SessionBus
