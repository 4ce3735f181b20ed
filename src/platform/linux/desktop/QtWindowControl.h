#pragma once

#include "platform/WindowControl.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// The program's windows are its own Qt top-level widgets.
class QtWindowControl : public QObject, public WindowControl, public QAbstractNativeEventFilter {
public:
    QtWindowControl();
    ~QtWindowControl() override;
    QtWindowControl(const QtWindowControl&) = delete;
    QtWindowControl& operator=(const QtWindowControl&) = delete;

    void activateByTitle(const QString& title) override;
    void endProgram() override;
    bool sessionEnding() override;
    void stopAskingForAttention() override;

    // Brings the program's window forward because the user asked for it (a click on its
    // notification); the token is the one the desktop handed over with the click, if any.
    void bringForward(const QString& activationToken);

    // How long a desktop may take to activate the window before it counts as refused.
    static constexpr int RefusalWaitMs = 500;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void activate(QWidget& window);
    void judgeLater(QWidget& window);
    void judge();
    static bool hasFocus(QWidget& window);

    QPointer<QWidget> focusBefore_;  // the control that had the focus before a raise took it
    QPointer<QWidget> asked_;        // the window last asked to come forward
    QTimer judgement_;               // runs once a request has had time to take effect
    bool marked_ = false;            // asked_ demands attention
    QElapsedTimer sinceSessionSave_; // since the session manager last asked to save
};
