#pragma once

#include "platform/WindowControl.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>

// The program's windows are its own Qt top-level widgets.
class QtWindowControl : public QObject, public WindowControl {
public:
    QtWindowControl();
    void activateByTitle(const QString& title) override;
    void endProgram() override;
    bool sessionEnding() override;

    // Brings the program's window forward because the user asked for it (a click on its
    // notification); the token is the one the desktop handed over with the click, if any.
    void bringForward(const QString& activationToken);

    // How long a desktop may take to activate the window before it counts as refused.
    static constexpr int RefusalWaitMs = 500;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate(QWidget& window);
    void markIfRefused(QWidget& window);

    QPointer<QWidget> focusBefore_;  // the control that had the focus before a raise took it
    QElapsedTimer sinceSessionSave_; // since the session manager last asked to save
};
