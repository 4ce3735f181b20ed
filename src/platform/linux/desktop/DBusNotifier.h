#pragma once

#include "platform/AlarmAnswers.h"
#include "platform/DesktopNotifier.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include <QDBusPendingReply>

class SessionBus;

// Notices through the desktop's notification service (org.freedesktop.Notifications) on the
// session bus. Every call is asynchronous: a missing or silent server costs nothing. The bus
// is asked for only when the first notice is posted.
class DBusNotifier : public QObject, public DesktopNotifier {
    Q_OBJECT
public:
    // showWindow runs when the user clicks the notice or its "Open" button, with the desktop's
    // activation token. The "Acknowledge" button reaches the program once it answers.
    DBusNotifier(SessionBus& bus, std::function<void(const QString& token)> showWindow);
    ~DBusNotifier() override; // takes a notice still shown away: the program is ending
    DBusNotifier(const DBusNotifier&) = delete;
    DBusNotifier& operator=(const DBusNotifier&) = delete;

    void answerWith(AlarmAnswers& answers) { answers_ = &answers; }
    void post(const QString& summary, const QString& body) override;
    void update(const QString& summary, const QString& body) override;
    void withdraw() override;

    // How long the program, when it ends, waits for the server to take its notice away.
    static constexpr int ClosingWaitMs = 500;

private slots:
    void actionInvoked(quint32 id, const QString& action);
    void activationToken(quint32 id, const QString& token);
    void notificationClosed(quint32 id, quint32 reason);

private:
    enum class State { None, Posting, Shown };
    bool connectBus();
    void notify(quint32 replaces);
    void notified(const QDBusPendingReply<quint32>& reply, quint64 serial);
    void close(quint32 id);

    SessionBus& session_;
    std::function<void(const QString&)> showWindow_;
    AlarmAnswers* answers_ = nullptr;
    std::optional<QDBusConnection> bus_; // empty until the first notice
    State state_ = State::None;
    quint64 posts_ = 0; // Notify calls for new notices; a late answer to an older one is stale
    quint32 id_ = 0;
    QString summary_;
    QString body_;
    bool changedWhilePosting_ = false;
    bool withdrawnWhilePosting_ = false;
    QString token_;
};
