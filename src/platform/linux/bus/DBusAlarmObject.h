#pragma once

#include "platform/AlarmAnswers.h"
#include "platform/AlarmBus.h"

#include <QDBusContext>
#include <QObject>

#include <functional>

class SessionBus;

// The alarm's object on the user's session bus, as the interface's XML file describes it: Qt's
// generator makes its adaptor from that file. Exported on the program's one connection once the
// first status arrives (after the window is up). Calls arrive on the window's thread, between
// ticks, like any user action, and reach the program once it answers them (answerWith).
class DBusAlarmObject : public QObject, public AlarmBus, protected QDBusContext {
    Q_OBJECT
    // Read by name by the adaptor.
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Message READ message)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString State READ state)
    Q_PROPERTY(QString DueTime READ dueTime)
    Q_PROPERTY(qlonglong SecondsLeft READ secondsLeft)
    Q_PROPERTY(double Cycles READ cycles)
    Q_PROPERTY(int UpdateRate READ updateRate)
    Q_PROPERTY(QString Wake READ wake)

public:
    // open: brings the window forward, with the caller's activation token.
    DBusAlarmObject(SessionBus& bus, std::function<void(const QString& token)> open);
    ~DBusAlarmObject() override;
    DBusAlarmObject(const DBusAlarmObject&) = delete;
    DBusAlarmObject& operator=(const DBusAlarmObject&) = delete;

    void answerWith(AlarmAnswers& answers) { answers_ = &answers; }
    void publish(const AlarmStatus& status) override;

    QString id() const { return status_.id; }
    QString message() const { return status_.message; }
    QString title() const { return status_.title; }
    QString state() const;
    QString dueTime() const;
    qlonglong secondsLeft() const;
    double cycles() const { return status_.cycles; }
    int updateRate() const { return status_.updateRate; }
    QString wake() const { return wakeStateName(status_.wake); }

    // The interface's methods, called by the adaptor.
    void Acknowledge();
    void Snooze(const QString& duration);
    void Cancel();
    void Open();
    void OpenWithToken(const QString& activationToken);

private:
    bool exported();
    bool refused();

    SessionBus& bus_;
    std::function<void(const QString&)> open_;
    AlarmAnswers* answers_ = nullptr;
    bool tried_ = false;
    bool exported_ = false;
    bool ended_ = false;
    AlarmStatus status_;
};
