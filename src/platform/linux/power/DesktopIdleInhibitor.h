#pragma once

#include "platform/IdleInhibitor.h"

#include <QDBusObjectPath>
#include <QObject>

class SessionBus;

// The desktop asked not to go idle: through xdg-desktop-portal's Inhibit with the idle flag
// alone (never a suspend, a logout or a user switch that the user asks for), and where no portal
// answers, through org.freedesktop.ScreenSaver. On the program's one session-bus connection; every
// call is asynchronous. The desktop ends an inhibition whose program ends, however it ends.
class DesktopIdleInhibitor : public QObject, public IdleInhibitor {
    Q_OBJECT
public:
    explicit DesktopIdleInhibitor(SessionBus& bus);
    ~DesktopIdleInhibitor() override; // gives back what it holds: the program is ending
    DesktopIdleInhibitor(const DesktopIdleInhibitor&) = delete;
    DesktopIdleInhibitor& operator=(const DesktopIdleInhibitor&) = delete;

    void inhibit(const QString& reason) override;
    void release() override;

    // How long the program, when it ends, waits for the desktop to take its inhibition back.
    static constexpr int ClosingWaitMs = 500;

private:
    enum class Held { None, Asking, Portal, ScreenSaver };
    void askPortal(const QString& reason);
    void askScreenSaver(const QString& reason);
    void giveBack(bool waiting);

    SessionBus& session_;
    Held held_ = Held::None;
    bool releasedWhileAsking_ = false;
    QDBusObjectPath request_; // the portal's handle
    uint cookie_ = 0;         // the screen saver's
};
