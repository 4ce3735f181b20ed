#include "DesktopIdleInhibitor.h"

#include "platform/linux/shared/SessionBus.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {
const QString Portal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString ScreenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString ScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
constexpr uint IdleOnly = 8; // of logout 1, user switch 2, suspend 4, idle 8
// A service that does not answer within this time never will; nothing waits for it meanwhile.
constexpr int ReplyTimeoutMs = 10000;
} // namespace

DesktopIdleInhibitor::DesktopIdleInhibitor(SessionBus& bus) : session_(bus) {}

DesktopIdleInhibitor::~DesktopIdleInhibitor() {
    giveBack(true);
}

void DesktopIdleInhibitor::inhibit(const QString& reason) {
    if (held_ != Held::None) {
        releasedWhileAsking_ = false;
        return;
    }
    if (!session_.connection())
        return;
    held_ = Held::Asking;
    releasedWhileAsking_ = false;
    askPortal(reason);
}

void DesktopIdleInhibitor::release() {
    if (held_ == Held::Asking)
        releasedWhileAsking_ = true; // given back as soon as it is held
    else
        giveBack(false);
}

void DesktopIdleInhibitor::askPortal(const QString& reason) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        Portal, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    call << QString() << IdleOnly << QVariantMap{{QStringLiteral("reason"), reason}};
    auto* watcher =
        new QDBusPendingCallWatcher(session_.connection()->asyncCall(call, ReplyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, reason](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (reply.isError()) { // no portal, or none that inhibits
                    askScreenSaver(reason);
                    return;
                }
                request_ = reply.value();
                held_ = Held::Portal;
                if (releasedWhileAsking_)
                    giveBack(false);
            });
}

void DesktopIdleInhibitor::askScreenSaver(const QString& reason) {
    QDBusMessage call = QDBusMessage::createMethodCall(ScreenSaver, ScreenSaverPath, ScreenSaver,
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("Pingolet") << reason;
    auto* watcher =
        new QDBusPendingCallWatcher(session_.connection()->asyncCall(call, ReplyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError()) { // nobody to ask: the desktop may go idle
            held_ = Held::None;
            return;
        }
        cookie_ = reply.value();
        held_ = Held::ScreenSaver;
        if (releasedWhileAsking_)
            giveBack(false);
    });
}

// waiting: the program ends next, and an asynchronous call would be dropped unsent.
void DesktopIdleInhibitor::giveBack(bool waiting) {
    QDBusMessage call;
    if (held_ == Held::Portal)
        call = QDBusMessage::createMethodCall(Portal, request_.path(),
                                              QStringLiteral("org.freedesktop.portal.Request"),
                                              QStringLiteral("Close"));
    else if (held_ == Held::ScreenSaver)
        call = QDBusMessage::createMethodCall(ScreenSaver, ScreenSaverPath, ScreenSaver,
                                              QStringLiteral("UnInhibit"))
               << cookie_;
    else
        return;
    held_ = Held::None;
    if (waiting)
        session_.connection()->call(call, QDBus::Block, ClosingWaitMs);
    else
        session_.connection()->asyncCall(call, ReplyTimeoutMs);
}
