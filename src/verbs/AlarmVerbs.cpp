#include "verbs/AlarmVerbs.h"

#include "AlarmProxy.h"
#include "platform/ErrorNote.h"
#include "platform/linux/shared/AlarmBusNames.h"
#include "platform/linux/shared/SessionBus.h"
#include "verbs/AlarmList.h"

#include <QDateTime>

#include <cstdio>

namespace {
constexpr int CallTimeoutMs = 5000;

int refuse(const QString& line, int status = 2) {
    errorNote(line);
    return status;
}

// The alarms an id names: the one of that id, or every one it is the beginning of.
std::vector<Verbs::ListedAlarm> named(const std::vector<Verbs::ListedAlarm>& alarms,
                                      const QString& id) {
    std::vector<Verbs::ListedAlarm> found;
    for (const Verbs::ListedAlarm& a : alarms) {
        if (a.id == id)
            return {a};
        if (a.id.startsWith(id))
            found.push_back(a);
    }
    return found;
}

int call(const QDBusConnection& bus, const Verbs::ListedAlarm& alarm,
         const Verbs::Request& request) {
    AlarmProxy proxy(alarm.service, AlarmBusNames::path(), bus);
    proxy.setTimeout(CallTimeoutMs);
    // On Wayland the window may come forward only with the caller's activation token.
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    QDBusPendingReply<> reply;
    const char* verb = "";
    switch (request.kind) {
    case Verbs::Kind::Ack:
        verb = "--ack";
        reply = proxy.Acknowledge();
        break;
    case Verbs::Kind::Snooze:
        verb = "--snooze";
        reply = proxy.Snooze(request.duration);
        break;
    case Verbs::Kind::Cancel:
        verb = "--cancel";
        reply = proxy.Cancel();
        break;
    default:
        verb = "--open";
        reply = token.isEmpty() ? proxy.Open() : proxy.OpenWithToken(token);
        break;
    }
    reply.waitForFinished();
    if (!reply.isError())
        return 0;
    const QDBusError error = reply.error();
    return refuse(
        QStringLiteral("%1 %2: %3").arg(QLatin1String(verb), alarm.id.left(8), error.message()),
        error.type() == QDBusError::InvalidArgs ? 2 : 1);
}
} // namespace

int Verbs::answer(const Request& request, AlarmStore& store) {
    SessionBus session(QStringLiteral("verbs"));
    std::optional<QDBusConnection> bus = session.connection();
    if (!bus)
        return refuse(QStringLiteral("no session bus (DBUS_SESSION_BUS_ADDRESS is not set, or "
                                     "nothing answers there)"));
    if (request.kind == Kind::WatchJson)
        return watch(*bus, store);
    const std::vector<ListedAlarm> alarms = gatherAlarms(*bus, store);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (request.kind == Kind::List) {
        std::fputs(alarmTable(alarms, now).toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (request.kind == Kind::ListJson) {
        std::fputs((alarmJson(alarms, now) + '\n').constData(), stdout);
        return 0;
    }

    std::vector<ListedAlarm> targets;
    if (request.kind == Kind::Ack && request.id == QLatin1String("all")) {
        for (const ListedAlarm& a : alarms)
            if (!a.service.isEmpty())
                targets.push_back(a);
    } else {
        targets = named(alarms, request.id);
        if (targets.empty())
            return refuse(
                QStringLiteral("no alarm %1 (pingolet --list shows them)").arg(request.id));
        if (targets.size() > 1) {
            QStringList ids;
            for (const ListedAlarm& a : targets)
                ids << a.id;
            return refuse(QStringLiteral("%1 could be any of %2").arg(request.id, ids.join(u' ')));
        }
        if (targets[0].service.isEmpty())
            return refuse(QStringLiteral("the alarm %1 is away: pingolet --resume brings it back")
                              .arg(targets[0].id.left(8)));
    }
    int status = 0;
    for (const ListedAlarm& a : targets)
        status = std::max(status, call(*bus, a, request));
    return status;
}
