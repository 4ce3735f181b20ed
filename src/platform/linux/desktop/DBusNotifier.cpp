#include "DBusNotifier.h"

#include "platform/linux/shared/SessionBus.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QGuiApplication>
#include <QVariantMap>

#include <utility>

namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
constexpr uchar Critical = 2;
constexpr int NeverExpires = 0;
// A server that does not answer within this time never will; nothing waits for it meanwhile.
constexpr int ReplyTimeoutMs = 10000;

QDBusMessage call(const QString& method) {
    return QDBusMessage::createMethodCall(Service, Path, Interface, method);
}

// The desktop entry the program was started from names it to the server (the application id).
QString desktopEntry() {
    return QGuiApplication::desktopFileName();
}

// The installed theme icon of the application id; a portable folder's own copy of it by path,
// since its share/ folder is not among the desktop's data folders.
QString iconName() {
    const QString portable = QCoreApplication::applicationDirPath() +
                             QStringLiteral("/../share/icons/hicolor/48x48/apps/") +
                             desktopEntry() + QStringLiteral(".png");
    return QFileInfo::exists(portable) ? QFileInfo(portable).canonicalFilePath() : desktopEntry();
}
} // namespace

DBusNotifier::DBusNotifier(SessionBus& bus, std::function<void(const QString& token)> showWindow)
    : session_(bus), showWindow_(std::move(showWindow)) {}

DBusNotifier::~DBusNotifier() {
    if (bus_ && state_ == State::Shown) {
        // The process ends next: an asynchronous call would be dropped unsent.
        bus_->call(call(QStringLiteral("CloseNotification")) << id_, QDBus::Block, ClosingWaitMs);
    }
}

bool DBusNotifier::connectBus() {
    if (bus_)
        return true;
    std::optional<QDBusConnection> connected = session_.connection();
    if (!connected)
        return false;
    QDBusConnection& bus = *connected;
    // No service name: naming it would make Qt ask the bus who owns it, and wait.
    bus.connect(QString(), Path, Interface, QStringLiteral("ActionInvoked"), this,
                SLOT(actionInvoked(quint32, QString)));
    bus.connect(QString(), Path, Interface, QStringLiteral("ActivationToken"), this,
                SLOT(activationToken(quint32, QString)));
    bus.connect(QString(), Path, Interface, QStringLiteral("NotificationClosed"), this,
                SLOT(notificationClosed(quint32, quint32)));
    bus_ = bus;
    return true;
}

void DBusNotifier::post(const QString& summary, const QString& body) {
    withdraw();
    summary_ = summary;
    body_ = body;
    if (!connectBus())
        return;
    notify(0);
}

void DBusNotifier::update(const QString& summary, const QString& body) {
    if (state_ == State::None || (summary == summary_ && body == body_))
        return;
    summary_ = summary;
    body_ = body;
    if (state_ == State::Posting)
        changedWhilePosting_ = true; // sent once the server has told the notice's id
    else
        notify(id_);
}

void DBusNotifier::withdraw() {
    if (state_ == State::Posting)
        withdrawnWhilePosting_ = true;
    else if (state_ == State::Shown)
        close(id_);
    if (state_ == State::Shown)
        state_ = State::None;
}

void DBusNotifier::notify(quint32 replaces) {
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(Critical));
    hints.insert(QStringLiteral("desktop-entry"), desktopEntry());
    const QStringList actions{QStringLiteral("default"),     QStringLiteral("Show Pingolet"),
                              QStringLiteral("acknowledge"), QStringLiteral("Acknowledge"),
                              QStringLiteral("open"),        QStringLiteral("Open")};
    QDBusMessage message = call(QStringLiteral("Notify"));
    message << QStringLiteral("Pingolet") << replaces << iconName() << summary_ << body_ << actions
            << hints << NeverExpires;
    auto* watcher = new QDBusPendingCallWatcher(bus_->asyncCall(message, ReplyTimeoutMs), this);
    if (replaces != 0) {
        connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
        return;
    }
    state_ = State::Posting;
    changedWhilePosting_ = false;
    withdrawnWhilePosting_ = false;
    const quint64 serial = ++posts_;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, serial](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                notified(QDBusPendingReply<quint32>(*call), serial);
            });
}

void DBusNotifier::notified(const QDBusPendingReply<quint32>& reply, quint64 serial) {
    const bool current = serial == posts_ && state_ == State::Posting;
    if (!current || withdrawnWhilePosting_) {
        // Taken back before the server answered: it goes as soon as it has an id.
        if (!reply.isError())
            close(reply.value());
        if (current)
            state_ = State::None;
        return;
    }
    if (reply.isError()) {
        state_ = State::None; // no server: one notice per alarm, so no second try
        return;
    }
    id_ = reply.value();
    state_ = State::Shown;
    if (changedWhilePosting_)
        notify(id_);
}

void DBusNotifier::close(quint32 id) {
    bus_->asyncCall(call(QStringLiteral("CloseNotification")) << id, ReplyTimeoutMs);
}

void DBusNotifier::actionInvoked(quint32 id, const QString& action) {
    if (state_ != State::Shown || id != id_)
        return;
    const QString token = std::exchange(token_, QString());
    if (action == QLatin1String("acknowledge")) {
        if (answers_)
            answers_->Acknowledge();
    } else if (action == QLatin1String("default") || action == QLatin1String("open")) {
        showWindow_(token);
    }
}

// Sent just before ActionInvoked by servers that support activation tokens.
void DBusNotifier::activationToken(quint32 id, const QString& token) {
    if (state_ == State::Shown && id == id_)
        token_ = token;
}

// Closed by the user or the server: an update must not bring it back.
void DBusNotifier::notificationClosed(quint32 id, quint32 /*reason*/) {
    if (state_ == State::Shown && id == id_)
        state_ = State::None;
}
