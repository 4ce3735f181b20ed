#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>

// One connection to the user's session bus, shared by everything a program shows there: a
// running alarm's notification, its object and its panel icon hold one between them, and the
// command lines one of their own. Opened at the first call of connection() and tried only then;
// closed when the object goes.
class SessionBus {
public:
    // purpose names the connection within the process.
    explicit SessionBus(const QString& purpose);
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // The connection; none when the environment names no session bus or nothing answers there.
    std::optional<QDBusConnection> connection();

    // The bus's address as the environment names it now; empty when there is none. Without an
    // address libdbus would launch a bus of its own, which nobody would stop.
    static QString address();

private:
    QString name_;
    bool tried_ = false;
    std::optional<QDBusConnection> connection_;
};
