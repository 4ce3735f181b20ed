#pragma once

#include "platform/AlarmBus.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>

#include <functional>
#include <optional>

// What a call on the bus asks of the program; each does what the window's own event does.
struct AlarmBusHandlers {
    std::function<void()> acknowledge;
    // The reason the duration cannot be used, or nothing when it was applied.
    std::function<std::optional<QString>(const QString& duration)> snooze;
    std::function<void()> cancel;
    std::function<void(const QString& activationToken)> open;
};

// The alarm's object on the user's session bus, exported on a connection of its own once the
// first status arrives (after the window is up). Calls arrive on the window's thread, between
// ticks, like any user action.
class DBusAlarmObject : public QObject, public AlarmBus, protected QDBusContext {
    Q_OBJECT
    // Literal, since moc reads it: the application id followed by ".Alarm1".
    Q_CLASSINFO("D-Bus Interface", "org.example.pingolet.Pingolet.Alarm1")
    Q_CLASSINFO("D-Bus Introspection",
                "  <interface name=\"org.example.pingolet.Pingolet.Alarm1\">\n"
                "    <property name=\"Id\" type=\"s\" access=\"read\">\n"
                "      <annotation name=\"org.freedesktop.DBus.Property.EmitsChangedSignal\" "
                "value=\"const\"/>\n"
                "    </property>\n"
                "    <property name=\"Message\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"Title\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"State\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"DueTime\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"SecondsLeft\" type=\"x\" access=\"read\">\n"
                "      <annotation name=\"org.freedesktop.DBus.Property.EmitsChangedSignal\" "
                "value=\"false\"/>\n"
                "    </property>\n"
                "    <property name=\"Cycles\" type=\"d\" access=\"read\"/>\n"
                "    <property name=\"UpdateRate\" type=\"i\" access=\"read\">\n"
                "      <annotation name=\"org.freedesktop.DBus.Property.EmitsChangedSignal\" "
                "value=\"false\"/>\n"
                "    </property>\n"
                "    <method name=\"Acknowledge\"/>\n"
                "    <method name=\"Snooze\">\n"
                "      <arg name=\"duration\" type=\"s\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"Cancel\"/>\n"
                "    <method name=\"Open\"/>\n"
                "    <method name=\"OpenWithToken\">\n"
                "      <arg name=\"activation_token\" type=\"s\" direction=\"in\"/>\n"
                "    </method>\n"
                "  </interface>\n")
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Message READ message)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString State READ state)
    Q_PROPERTY(QString DueTime READ dueTime)
    Q_PROPERTY(qlonglong SecondsLeft READ secondsLeft)
    Q_PROPERTY(double Cycles READ cycles)
    Q_PROPERTY(int UpdateRate READ updateRate)

public:
    explicit DBusAlarmObject(AlarmBusHandlers handlers);
    ~DBusAlarmObject() override;
    DBusAlarmObject(const DBusAlarmObject&) = delete;
    DBusAlarmObject& operator=(const DBusAlarmObject&) = delete;

    void publish(const AlarmStatus& status) override;

    QString id() const { return status_.id; }
    QString message() const { return status_.message; }
    QString title() const { return status_.title; }
    QString state() const { return status_.state; }
    QString dueTime() const;
    qlonglong secondsLeft() const;
    double cycles() const { return status_.cycles; }
    int updateRate() const { return status_.updateRate; }

public slots:
    void Acknowledge();
    void Snooze(const QString& duration);
    void Cancel();
    void Open();
    void OpenWithToken(const QString& activationToken);

private:
    bool export_();
    bool refusedOnceEnded();

    AlarmBusHandlers handlers_;
    std::optional<QDBusConnection> bus_;
    bool tried_ = false;
    bool ended_ = false;
    AlarmStatus status_;
};
