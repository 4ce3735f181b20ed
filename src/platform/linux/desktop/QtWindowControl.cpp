#include "QtWindowControl.h"

#include "X11Focus.h"
#include "X11Urgency.h"

#include <QApplication>
#include <QMetaObject>
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

QtWindowControl::QtWindowControl() {
    judgement_.setSingleShot(true);
    judgement_.setInterval(RefusalWaitMs);
    connect(&judgement_, &QTimer::timeout, this, &QtWindowControl::judge);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installNativeEventFilter(this);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this] { sinceSessionSave_.start(); });
}

QtWindowControl::~QtWindowControl() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

// A session manager asks its clients to save, then ends them; a logout the user cancels sends no
// word of it. Windows closed within a minute of that request count as closed by the session.
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
    if (!hasFocus(*window) && window->focusWidget() != window) {
        focusBefore_ = window->focusWidget();
        window->setFocus(Qt::OtherFocusReason);
    }
    activate(*window);
    judgeLater(*window);
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
    judgeLater(*window);
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

// Asked again before the last request was judged, the window is judged at the first one's
// time: at a fast update rate a later judgement would never come.
void QtWindowControl::judgeLater(QWidget& window) {
    asked_ = &window;
    if (!judgement_.isActive())
        judgement_.start();
}

// Where the desktop refused the activation, the window demands attention instead: the
// taskbar, the tiling bar or the dock shows it, until the window really has the focus.
void QtWindowControl::judge() {
    if (!asked_ || !asked_->windowHandle())
        return;
    const std::optional<bool> focused = X11Focus::has(*asked_->windowHandle());
    if (!focused) {
        // Elsewhere only the toolkit can tell; it takes the request back itself on activation.
        if (!asked_->isActiveWindow())
            QApplication::alert(asked_);
        return;
    }
    X11Urgency::set(*asked_->windowHandle(), !*focused);
    marked_ = !*focused;
}

void QtWindowControl::stopAskingForAttention() {
    judgement_.stop();
    if (marked_ && asked_ && asked_->windowHandle())
        X11Urgency::set(*asked_->windowHandle(), false);
    marked_ = false;
}

bool QtWindowControl::hasFocus(QWidget& window) {
    const std::optional<bool> focused =
        window.windowHandle() ? X11Focus::has(*window.windowHandle()) : std::nullopt;
    return focused.value_or(window.isActiveWindow());
}

// Once the marked window gets the focus, whichever way, the marks go at once.
bool QtWindowControl::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (marked_ && asked_ && asked_->windowHandle() && eventType == "xcb_generic_event_t" &&
        X11Focus::mayHaveGained(message, *asked_->windowHandle())) {
        QMetaObject::invokeMethod(this, &QtWindowControl::judge, Qt::QueuedConnection);
    }
    return false;
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
