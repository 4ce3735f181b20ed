#include "QtWindowControl.h"

#include <QApplication>
#include <QMetaObject>
#include <QWidget>

void QtWindowControl::activateByTitle(const QString& title) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->windowTitle() != title || !(window->isVisible() || window->isMinimized())) {
            continue;
        }
        // Dropping only the minimised flag brings a window that was maximised before it was
        // minimised back maximised, and leaves a maximised one as the user made it.
        if (window->isMinimized()) {
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        }
        window->show();
        window->raise();
        window->activateWindow();
        // Most window managers refuse to hand over the focus; the urgency hint at least makes
        // the window ask for attention.
        QApplication::alert(window);
        return;
    }
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
