#include "DBusAlarmObject.h"

#include "AlarmAdaptor.h"
#include "platform/ErrorNote.h"
#include "platform/linux/shared/AlarmBusNames.h"
#include "platform/linux/shared/SessionBus.h"

#include <QDBusMessage>
#include <QDateTime>
#include <QVariantMap>

DBusAlarmObject::DBusAlarmObject(SessionBus& bus, std::function<void(const QString&)> open)
    : bus_(bus), open_(std::move(open)) {
    new AlarmAdaptor(this);
}

DBusAlarmObject::~DBusAlarmObject() {
    if (exported_) {
        bus_.connection()->unregisterService(AlarmBusNames::service(status_.id));
        bus_.connection()->unregisterObject(AlarmBusNames::path());
    }
}

bool DBusAlarmObject::exported() {
    if (tried_)
        return exported_;
    tried_ = true;
    std::optional<QDBusConnection> bus = bus_.connection();
    if (!bus)
        return false;
    const QString name = AlarmBusNames::service(status_.id);
    if (!bus->registerObject(AlarmBusNames::path(), this, QDBusConnection::ExportAdaptors)) {
        errorNote(QStringLiteral("cannot show the alarm on the session bus: %1")
                      .arg(bus->lastError().message()));
        return false;
    }
    if (!bus->registerService(name)) {
        errorNote(QStringLiteral("cannot take %1 on the session bus: %2")
                      .arg(name, bus->lastError().message()));
        bus->unregisterObject(AlarmBusNames::path());
        return false;
    }
    exported_ = true;
    return true;
}

// The bus hears of the state, the due time, the message, the count and the wake timer, and of
// nothing that changes at every update.
void DBusAlarmObject::publish(const AlarmStatus& status) {
    const AlarmStatus before = status_;
    const bool first = !tried_;
    const bool dueMoved = status.dueMs.has_value() != before.dueMs.has_value() ||
                          (status.dueMs && !sameInstant(*status.dueMs, *before.dueMs));
    status_ = status;
    if (!dueMoved)
        status_.dueMs = before.dueMs;
    if (!exported() || first)
        return;
    QVariantMap changed;
    if (status_.state != before.state)
        changed.insert(QStringLiteral("State"), state());
    if (dueMoved)
        changed.insert(QStringLiteral("DueTime"), dueTime());
    if (status_.message != before.message) {
        changed.insert(QStringLiteral("Message"), status_.message);
        changed.insert(QStringLiteral("Title"), status_.title);
    }
    if (status_.cycles != before.cycles)
        changed.insert(QStringLiteral("Cycles"), status_.cycles);
    if (status_.wake != before.wake)
        changed.insert(QStringLiteral("Wake"), wake());
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        AlarmBusNames::path(), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << AlarmBusNames::interface() << changed << QStringList();
    bus_.connection()->send(signal);
}

QString DBusAlarmObject::state() const {
    return alarmStateName(status_.state);
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

// Once the alarm has ended, a call is an error. Before the program answers, none arrives: the
// object is shown once the window is up.
bool DBusAlarmObject::refused() {
    if (ended_)
        sendErrorReply(AlarmBusNames::interface() + QStringLiteral(".Error.Ended"),
                       QStringLiteral("the alarm has ended"));
    return ended_;
}

void DBusAlarmObject::Acknowledge() {
    if (!refused() && answers_)
        answers_->Acknowledge();
}

void DBusAlarmObject::Snooze(const QString& duration) {
    if (refused() || !answers_)
        return;
    if (const std::optional<QString> reason = answers_->Snooze(duration))
        sendErrorReply(QDBusError::InvalidArgs, *reason);
}

void DBusAlarmObject::Cancel() {
    if (refused() || !answers_)
        return;
    ended_ = true;
    answers_->Cancel();
}

void DBusAlarmObject::Open() {
    OpenWithToken(QString());
}

void DBusAlarmObject::OpenWithToken(const QString& activationToken) {
    if (!refused())
        open_(activationToken);
}
