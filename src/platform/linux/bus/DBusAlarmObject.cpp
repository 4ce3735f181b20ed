#include "DBusAlarmObject.h"

#include "AlarmBusNames.h"
#include "SessionBus.h"

#include <QDBusMessage>
#include <QDateTime>
#include <QVariantMap>

#include <cstdio>
#include <cstdlib>

namespace {
// The countdown's single float wanders by milliseconds between updates; a due time that moved
// less than this has not changed.
constexpr qint64 DueToleranceMs = 2000;
} // namespace

DBusAlarmObject::DBusAlarmObject(AlarmBusHandlers handlers) : handlers_(std::move(handlers)) {}

DBusAlarmObject::~DBusAlarmObject() {
    if (bus_)
        QDBusConnection::disconnectFromBus(bus_->name());
}

bool DBusAlarmObject::export_() {
    if (tried_)
        return bus_.has_value();
    tried_ = true;
    bus_ = SessionBus::connect(QStringLiteral("alarm"));
    if (!bus_)
        return false;
    const QString name = AlarmBusNames::service(status_.id);
    if (!bus_->registerObject(AlarmBusNames::path(), this,
                              QDBusConnection::ExportAllSlots |
                                  QDBusConnection::ExportAllProperties) ||
        !bus_->registerService(name)) {
        std::fputs(QStringLiteral("pingolet: cannot take %1 on the session bus: %2\n")
                       .arg(name, bus_->lastError().message())
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        QDBusConnection::disconnectFromBus(bus_->name());
        bus_.reset();
        return false;
    }
    return true;
}

// The bus hears of the state, the due time, the message and the count, and of nothing that
// changes at every update.
void DBusAlarmObject::publish(const AlarmStatus& status) {
    const AlarmStatus before = status_;
    const bool first = !tried_;
    const bool dueMoved =
        status.dueMs.has_value() != before.dueMs.has_value() ||
        (status.dueMs && std::llabs(*status.dueMs - *before.dueMs) > DueToleranceMs);
    status_ = status;
    if (!dueMoved)
        status_.dueMs = before.dueMs;
    if (!export_() || first)
        return;
    QVariantMap changed;
    if (status_.state != before.state)
        changed.insert(QStringLiteral("State"), status_.state);
    if (dueMoved)
        changed.insert(QStringLiteral("DueTime"), dueTime());
    if (status_.message != before.message) {
        changed.insert(QStringLiteral("Message"), status_.message);
        changed.insert(QStringLiteral("Title"), status_.title);
    }
    if (status_.cycles != before.cycles)
        changed.insert(QStringLiteral("Cycles"), status_.cycles);
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        AlarmBusNames::path(), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << AlarmBusNames::interface() << changed << QStringList();
    bus_->send(signal);
}

QString DBusAlarmObject::dueTime() const {
    if (!status_.dueMs)
        return {};
    return QDateTime::fromMSecsSinceEpoch(*status_.dueMs, Qt::UTC).toString(Qt::ISODate);
}

qlonglong DBusAlarmObject::secondsLeft() const {
    if (!status_.dueMs)
        return 0;
    return secondsUntil(*status_.dueMs, QDateTime::currentMSecsSinceEpoch());
}

bool DBusAlarmObject::refusedOnceEnded() {
    if (ended_)
        sendErrorReply(AlarmBusNames::interface() + QStringLiteral(".Error.Ended"),
                       QStringLiteral("the alarm has ended"));
    return ended_;
}

void DBusAlarmObject::Acknowledge() {
    if (!refusedOnceEnded() && handlers_.acknowledge)
        handlers_.acknowledge();
}

void DBusAlarmObject::Snooze(const QString& duration) {
    if (refusedOnceEnded() || !handlers_.snooze)
        return;
    if (const std::optional<QString> reason = handlers_.snooze(duration))
        sendErrorReply(QDBusError::InvalidArgs, *reason);
}

void DBusAlarmObject::Cancel() {
    if (refusedOnceEnded())
        return;
    ended_ = true;
    if (handlers_.cancel)
        handlers_.cancel();
}

void DBusAlarmObject::Open() {
    OpenWithToken(QString());
}

void DBusAlarmObject::OpenWithToken(const QString& activationToken) {
    if (!refusedOnceEnded() && handlers_.open)
        handlers_.open(activationToken);
}
