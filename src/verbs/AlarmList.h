#pragma once

#include "platform/AlarmState.h"
#include "platform/AlarmStore.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

#include <optional>
#include <vector>

// Every alarm there is: the running ones as their objects on the session bus show them, and the
// recorded ones that no running program holds ("away": --resume brings them back).
namespace Verbs {
struct ListedAlarm {
    QString id;
    AlarmState state = AlarmState::Away;
    QString wake; // "armed", "unavailable", or empty: nothing due, or nothing known
    QString title;
    QString message;
    std::optional<qint64> dueMs;
    double cycles = 0;
    std::optional<qint64> pid;
    QString service; // its name on the bus; empty when away
};

std::vector<ListedAlarm> gatherAlarms(QDBusConnection& bus, AlarmStore& store);
// The soonest due first; what is due at no time last; otherwise in the order given.
void sortByDue(std::vector<ListedAlarm>& alarms);

// A running alarm as its object's properties show it (org.freedesktop.DBus.Properties.GetAll),
// its pid left out; none for a state this Pingolet does not know.
std::optional<ListedAlarm> runningAlarm(const QString& service, const QVariantMap& properties);
// A kept record's alarm, or why it cannot be read.
struct Recorded {
    std::optional<ListedAlarm> alarm;
    QString error;
};
Recorded recordedAlarm(const AlarmStore::Stored& stored);

// One alarm a line: id (short), state, due time (local), time left, wake timer, title.
QString alarmTable(const std::vector<ListedAlarm>& alarms, qint64 nowMs);
// One line: an array of objects with id, state, title, message, due (ISO 8601 UTC or null),
// secondsLeft (or null), cycles, pid (or null) and wake ("armed", "unavailable" or null).
QByteArray alarmJson(const std::vector<ListedAlarm>& alarms, qint64 nowMs);
} // namespace Verbs
