#include "indicator/RunningAlarms.h"

#include "platform/linux/shared/AlarmBusNames.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>

#include <algorithm>

namespace {
const QString DBusService = QStringLiteral("org.freedesktop.DBus");
const QString DBusPath = QStringLiteral("/org/freedesktop/DBus");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
// A program that does not answer within this time is left out until it says it changed.
constexpr int ReplyTimeoutMs = 3000;
} // namespace

RunningAlarms::RunningAlarms(const QDBusConnection& bus, AlarmStore& store,
                             const QString& stateFolder)
    : bus_(bus), store_(store), stateFolder_(stateFolder) {}

void RunningAlarms::start() {
    bus_.connect(DBusService, DBusPath, DBusService, QStringLiteral("NameOwnerChanged"), this,
                 SLOT(nameOwnerChanged(QString, QString, QString)));
    // No sender named: naming one would make Qt ask the bus who owns it, and wait.
    bus_.connect(QString(), AlarmBusNames::path(), Properties, QStringLiteral("PropertiesChanged"),
                 this, SLOT(propertiesChanged(QDBusMessage)));
    auto* names = new QDBusPendingCallWatcher(
        bus_.asyncCall(QDBusMessage::createMethodCall(DBusService, DBusPath, DBusService,
                                                      QStringLiteral("ListNames"))),
        this);
    connect(names, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        for (const QString& name : reply.value())
            if (name.startsWith(AlarmBusNames::servicePrefix()))
                read(name);
    });
    // The records' folder, and the one above it until the folder is made.
    files_.addPath(QDir(stateFolder_).absolutePath());
    files_.addPath(QDir(stateFolder_ + QStringLiteral("/..")).absolutePath());
    connect(&files_, &QFileSystemWatcher::directoryChanged, this, [this] {
        files_.addPath(QDir(stateFolder_).absolutePath());
        readKept();
    });
    readKept();
}

// Its properties, and its owner, so that its PropertiesChanged, which comes from the owner's
// unique name, finds it.
void RunningAlarms::read(const QString& service) {
    QDBusMessage get = QDBusMessage::createMethodCall(service, AlarmBusNames::path(), Properties,
                                                      QStringLiteral("GetAll"));
    get << AlarmBusNames::interface();
    auto* call = new QDBusPendingCallWatcher(bus_.asyncCall(get, ReplyTimeoutMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, service](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<QVariantMap> reply = *w;
                if (reply.isError())
                    return; // ended meanwhile, or hung: NameOwnerChanged or a change brings it
                if (auto alarm = Verbs::runningAlarm(service, reply.value())) {
                    owners_[reply.reply().service()] = service;
                    running_[service] = std::move(*alarm);
                    emit changed();
                }
            });
}

void RunningAlarms::nameOwnerChanged(const QString& name, const QString& oldOwner,
                                     const QString& newOwner) {
    if (!name.startsWith(AlarmBusNames::servicePrefix()))
        return;
    owners_.erase(oldOwner);
    if (running_.erase(name) > 0)
        emit changed();
    if (!newOwner.isEmpty())
        read(name);
}

void RunningAlarms::propertiesChanged(const QDBusMessage& message) {
    const auto owner = owners_.find(message.service());
    if (owner != owners_.end())
        read(owner->second);
}

void RunningAlarms::readKept() {
    std::vector<Verbs::ListedAlarm> kept;
    for (const AlarmStore::Stored& stored : store_.list()) {
        if (stored.held)
            continue; // its program shows it on the bus
        if (auto alarm = Verbs::recordedAlarm(stored).alarm)
            kept.push_back(std::move(*alarm));
    }
    const auto sameIds = [](const std::vector<Verbs::ListedAlarm>& a,
                            const std::vector<Verbs::ListedAlarm>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const auto& x, const auto& y) { return x.id == y.id; });
    };
    if (sameIds(kept, kept_))
        return;
    kept_ = std::move(kept);
    emit changed();
}

std::vector<Verbs::ListedAlarm> RunningAlarms::alarms() const {
    std::vector<Verbs::ListedAlarm> all;
    for (const auto& [service, alarm] : running_)
        all.push_back(alarm);
    Verbs::sortByDue(all);
    all.insert(all.end(), kept_.begin(), kept_.end());
    return all;
}
