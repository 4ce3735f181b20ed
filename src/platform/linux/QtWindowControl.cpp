#include "QtWindowControl.h"

#include "X11Urgency.h"

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QTimer>
#include <QWindow>

namespace {
QWidget* windowTitled(const QString& title) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->windowTitle() == title && (window->isVisible() || window->isMinimized()))
            return window;
    }
    return nullptr;
}

// The program has one main window; a dialog or tooltip is never it.
QWidget* mainWindow() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isWindow() && window->windowType() == Qt::Window &&
            (window->isVisible() || window->isMinimized()))
            return window;
    }
    return nullptr;
}
} // namespace

// A session manager asks its clients to save, then ends them; a logout the user cancels sends no
// word of it. Windows closed within a minute of that request count as closed by the session.
QtWindowControl::QtWindowControl() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this] { sinceSessionSave_.start(); });
}

bool QtWindowControl::sessionEnding() {
    constexpr qint64 SessionEndMs = 60000;
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return (app && app->isSavingSession()) ||
           (sinceSessionSave_.isValid() && sinceSessionSave_.elapsed() < SessionEndMs);
}

void QtWindowControl::activateByTitle(const QString& title) {
    QWidget* window = windowTitled(title);
    if (!window)
        return;
    // Keys the user is typing into another window at this moment must not land in a control:
    // the window itself takes the focus, which ignores them. A click or Tab brings it back.
    if (!window->isActiveWindow() && window->focusWidget() != window) {
        focusBefore_ = window->focusWidget();
        window->setFocus(Qt::OtherFocusReason);
    }
    activate(*window);
    markIfRefused(*window);
}

void QtWindowControl::bringForward(const QString& activationToken) {
    QWidget* window = mainWindow();
    if (!window)
        return;
    // Qt's Wayland plugin activates with this token, which is what lets the compositor agree.
    if (!activationToken.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland"))
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    if (focusBefore_ && window->focusWidget() == window)
        focusBefore_->setFocus(Qt::OtherFocusReason);
    activate(*window);
}

void QtWindowControl::activate(QWidget& window) {
    // Dropping only the minimised flag brings a window that was maximised before it was
    // minimised back maximised, and leaves a maximised one as the user made it.
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

// Where the desktop refuses the activation, the window at least demands attention: the
// taskbar or the tiling bar shows it, until the window is active.
void QtWindowControl::markIfRefused(QWidget& window) {
    if (window.property("pingoletWatched").isNull()) {
        window.setProperty("pingoletWatched", true);
        window.installEventFilter(this);
    }
    QPointer<QWidget> target(&window);
    QTimer::singleShot(RefusalWaitMs, this, [target] {
        if (!target || target->isActiveWindow() || !target->windowHandle())
            return;
        QApplication::alert(target); // _NET_WM_STATE_DEMANDS_ATTENTION on X11
        X11Urgency::set(*target->windowHandle(), true);
    });
}

bool QtWindowControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && window->windowHandle())
            X11Urgency::set(*window->windowHandle(), false);
    }
    return QObject::eventFilter(watched, event);
}

void QtWindowControl::endProgram() {
    if (!qApp) {
        return;
    }
    // Posted: the caller is usually a handler of the very window that is about to close.
    QMetaObject::invokeMethod(
        qApp,
        [] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            for (QWidget* window : windows) {
                window->close();
            }
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);
}
