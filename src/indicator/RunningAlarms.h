#pragma once

#include "platform/AlarmStore.h"
#include "verbs/AlarmList.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileSystemWatcher>
#include <QObject>

#include <map>
#include <vector>

// Every alarm of the user as the panel icon shows them, kept up to date by what the bus and the
// state folder tell, never by asking at intervals: the running ones by their objects on the bus
// (each read once when it appears, and again when it says that it changed), the kept ones that
// no program runs from their records. Nothing blocks: a program that does not answer is left out.
class RunningAlarms : public QObject {
    Q_OBJECT
public:
    // stateFolder: where the store keeps its records, watched for changes.
    RunningAlarms(const QDBusConnection& bus, AlarmStore& store, const QString& stateFolder);

    // Starts listening; changed() follows each change.
    void start();
    // The running ones first, the soonest due first, then the kept ones.
    std::vector<Verbs::ListedAlarm> alarms() const;
    bool anyKept() const { return !kept_.empty(); }

signals:
    void changed();

private slots:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void propertiesChanged(const QDBusMessage& message);

private:
    void read(const QString& service);
    void readKept();

    QDBusConnection bus_;
    AlarmStore& store_;
    QString stateFolder_;
    QFileSystemWatcher files_;
    std::map<QString, Verbs::ListedAlarm> running_; // by their names on the bus
    std::map<QString, QString> owners_;             // unique connection name -> its alarm's name
    std::vector<Verbs::ListedAlarm> kept_;
};
