#include "verbs/AlarmList.h"

#include "alarm/AlarmRecord.h"
#include "alarm/AlarmTexts.h"
#include "platform/AlarmBus.h"
#include "platform/ErrorNote.h"
#include "platform/linux/shared/AlarmBusNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {
// A program that does not answer within this time is left out rather than waited for.
constexpr int CallTimeoutMs = 3000;
constexpr int ShortId = 8;

std::optional<Verbs::ListedAlarm> running(QDBusConnection& bus, const QString& service) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, AlarmBusNames::path(), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    get << AlarmBusNames::interface();
    const QDBusReply<QVariantMap> reply = bus.call(get, QDBus::Block, CallTimeoutMs);
    if (!reply.isValid())
        return std::nullopt; // ended meanwhile, or hung
    std::optional<Verbs::ListedAlarm> a = Verbs::runningAlarm(service, reply.value());
    const QDBusReply<uint> pid = bus.interface()->servicePid(service);
    if (a && pid.isValid())
        a->pid = pid.value();
    return a;
}

QString localTime(qint64 ms, qint64 nowMs) {
    return AlarmTexts::localTime(ms, nowMs, QStringLiteral("HH:mm:ss"),
                                 QStringLiteral("ddd d MMM HH:mm"));
}

// "45s", "4m 10s", "2h 5m", "3d 4h"; negative once it fell due.
QString timeLeft(qint64 ms) {
    const qint64 s = std::llabs(ms) / 1000;
    const QString sign = ms < 0 ? QStringLiteral("-") : QString();
    if (s < 60)
        return sign + QStringLiteral("%1s").arg(s);
    if (s < 3600)
        return sign + QStringLiteral("%1m %2s").arg(s / 60).arg(s % 60);
    if (s < 86400)
        return sign + QStringLiteral("%1h %2m").arg(s / 3600).arg(s % 3600 / 60);
    return sign + QStringLiteral("%1d %2h").arg(s / 86400).arg(s % 86400 / 3600);
}
} // namespace

std::optional<Verbs::ListedAlarm> Verbs::runningAlarm(const QString& service,
                                                      const QVariantMap& p) {
    const std::optional<AlarmState> state =
        alarmStateNamed(p.value(QStringLiteral("State")).toString());
    if (!state)
        return std::nullopt; // not a state this Pingolet knows
    ListedAlarm a;
    a.id = p.value(QStringLiteral("Id")).toString();
    a.state = *state;
    a.title = p.value(QStringLiteral("Title")).toString();
    a.message = p.value(QStringLiteral("Message")).toString();
    const QDateTime due =
        QDateTime::fromString(p.value(QStringLiteral("DueTime")).toString(), Qt::ISODate);
    if (due.isValid())
        a.dueMs = due.toMSecsSinceEpoch();
    a.cycles = p.value(QStringLiteral("Cycles")).toDouble();
    a.wake = p.value(QStringLiteral("Wake")).toString();
    a.service = service;
    return a;
}

// A record held by a program that shows nothing on the bus (it has none) counts as running.
Verbs::Recorded Verbs::recordedAlarm(const AlarmStore::Stored& stored) {
    const AlarmRecordText::ReadResult read = AlarmRecordText::read(stored.text);
    if (!read.record)
        return {std::nullopt, read.error};
    const AlarmRecord& r = *read.record;
    ListedAlarm a;
    a.id = r.id;
    a.state = stored.held ? r.state : AlarmState::Away;
    a.title = AlarmTexts::title(r.message);
    a.message = r.message;
    a.dueMs = r.dueMs;
    a.cycles = r.cycles.toDouble();
    if (stored.held)
        a.pid = stored.pid;
    return {a, {}};
}

std::vector<Verbs::ListedAlarm> Verbs::gatherAlarms(QDBusConnection& bus, AlarmStore& store) {
    std::vector<ListedAlarm> alarms;
    const QStringList names = bus.interface()->registeredServiceNames().value();
    for (const QString& name : names) {
        if (name.startsWith(AlarmBusNames::servicePrefix()))
            if (auto a = running(bus, name))
                alarms.push_back(std::move(*a));
    }
    for (const AlarmStore::Stored& stored : store.list()) {
        const bool onBus = std::any_of(alarms.begin(), alarms.end(),
                                       [&](const ListedAlarm& a) { return a.id == stored.id; });
        if (onBus)
            continue;
        Recorded read = recordedAlarm(stored);
        if (read.alarm)
            alarms.push_back(std::move(*read.alarm));
        else
            errorNote(
                QStringLiteral("cannot read the alarm in %1: %2").arg(stored.path, read.error));
    }
    sortByDue(alarms);
    return alarms;
}

void Verbs::sortByDue(std::vector<ListedAlarm>& alarms) {
    std::stable_sort(alarms.begin(), alarms.end(), [](const ListedAlarm& a, const ListedAlarm& b) {
        return a.dueMs.value_or(INT64_MAX) < b.dueMs.value_or(INT64_MAX);
    });
}

QString Verbs::alarmTable(const std::vector<ListedAlarm>& alarms, qint64 nowMs) {
    const QString row = QStringLiteral("%1  %2  %3  %4  %5  %6\n");
    QString out = row.arg(QStringLiteral("ID"), -ShortId)
                      .arg(QStringLiteral("STATE"), -14)
                      .arg(QStringLiteral("DUE"), -15)
                      .arg(QStringLiteral("LEFT"), -8)
                      .arg(QStringLiteral("WAKE"), -11)
                      .arg(QStringLiteral("TITLE"));
    for (const ListedAlarm& a : alarms) {
        out += row.arg(a.id.left(ShortId), -ShortId)
                   .arg(alarmStateName(a.state), -14)
                   .arg(a.dueMs ? localTime(*a.dueMs, nowMs) : QStringLiteral("-"), -15)
                   .arg(a.dueMs ? timeLeft(*a.dueMs - nowMs) : QStringLiteral("-"), -8)
                   .arg(a.wake.isEmpty() ? QStringLiteral("-") : a.wake, -11)
                   .arg(a.title);
    }
    return out;
}

QByteArray Verbs::alarmJson(const std::vector<ListedAlarm>& alarms, qint64 nowMs) {
    QJsonArray array;
    for (const ListedAlarm& a : alarms) {
        QJsonObject o;
        o.insert(QStringLiteral("id"), a.id);
        o.insert(QStringLiteral("state"), alarmStateName(a.state));
        o.insert(QStringLiteral("title"), a.title);
        o.insert(QStringLiteral("message"), a.message);
        o.insert(QStringLiteral("due"),
                 a.dueMs
                     ? QJsonValue(
                           QDateTime::fromMSecsSinceEpoch(*a.dueMs, Qt::UTC).toString(Qt::ISODate))
                     : QJsonValue());
        o.insert(QStringLiteral("secondsLeft"),
                 a.dueMs ? QJsonValue(double(secondsUntil(*a.dueMs, nowMs))) : QJsonValue());
        o.insert(QStringLiteral("cycles"), a.cycles);
        o.insert(QStringLiteral("pid"), a.pid ? QJsonValue(double(*a.pid)) : QJsonValue());
        o.insert(QStringLiteral("wake"), a.wake.isEmpty() ? QJsonValue() : QJsonValue(a.wake));
        array.append(o);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}
