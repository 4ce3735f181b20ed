#include "verbs/AlarmList.h"
#include "verbs/AlarmVerbs.h"

#include "platform/linux/alarms/UserStateFolder.h"
#include "platform/linux/shared/AlarmBusNames.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDateTime>
#include <QDir>
#include <QFileSystemWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cstdio>

namespace {
// Tells of every change on the bus and in the records; the list is gathered afresh then.
class Watcher : public QObject {
    Q_OBJECT
public:
    Watcher(QDBusConnection& bus, AlarmStore& store) : bus_(bus), store_(store) {}

    void start() {
        const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
        bus_.connect(QString(), AlarmBusNames::path(), properties,
                     QStringLiteral("PropertiesChanged"), this, SLOT(changed()));
        bus_.connect(QStringLiteral("org.freedesktop.DBus"),
                     QStringLiteral("/org/freedesktop/DBus"),
                     QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameOwnerChanged"),
                     this, SLOT(ownerChanged(QString, QString, QString)));
        // The records' folder, and the one above it until the folder is made.
        const QString folder = UserStateFolder::path();
        files_.addPath(QDir(folder).absolutePath());
        files_.addPath(QDir(folder + QStringLiteral("..")).absolutePath());
        connect(&files_, &QFileSystemWatcher::directoryChanged, this, [this, folder] {
            files_.addPath(QDir(folder).absolutePath());
            changed();
        });
        // The bus gone, the watch ends.
        connect(&alive_, &QTimer::timeout, this, [this] {
            if (!bus_.isConnected())
                QCoreApplication::exit(0);
        });
        alive_.start(1000);
        changed();
    }

private slots:
    void changed() {
        const std::vector<Verbs::ListedAlarm> alarms = Verbs::gatherAlarms(bus_, store_);
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        // The seconds left change every second: a change is anything else.
        QByteArray unchanging = Verbs::alarmJson(alarms, 0);
        if (unchanging == last_)
            return;
        last_ = unchanging;
        std::fputs((Verbs::alarmJson(alarms, now) + '\n').constData(), stdout);
        std::fflush(stdout);
    }
    void ownerChanged(const QString& name, const QString&, const QString&) {
        if (name.startsWith(AlarmBusNames::servicePrefix()))
            changed();
    }

private:
    QDBusConnection& bus_;
    AlarmStore& store_;
    QFileSystemWatcher files_;
    QTimer alive_;
    QByteArray last_;
};
} // namespace

int Verbs::watch(QDBusConnection& bus, AlarmStore& store) {
    Watcher watcher(bus, store);
    watcher.start();
    return QCoreApplication::exec();
}

#include "Watch.moc"
