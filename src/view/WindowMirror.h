#pragma once

#include "ControlMirror.h"
#include "ui/Form1.h"

#include <QObject>
#include <QSize>
#include <QTimer>

class QWidget;

// The form's own properties on the top-level window, and the user's resizing, minimising,
// maximising and restoring handed back to the form. The model counts the outer size, frame
// and caption included; Qt sizes the client area, so the frame is added or removed here.
class WindowMirror : public QObject, public ControlMirror {
public:
    WindowMirror(Form1& form, QWidget& window);

    void push(Property property) override;
    void pushAll() override;

    // The frame as measured on the real window, or the form's assumed one until then.
    QSize frame() const { return frame_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pushColors();
    void pushSize();
    void pushState();
    void measureFrame();
    void reportChange(bool sizeWaitOver);
    void reportMove();
    int windowState() const;

    Form1& form_;
    QWidget& window_;
    // Window events are looked at once the events in hand have been processed.
    QTimer settle_;
    // A maximise or its undoing arrives as a state change first and the new size a little
    // later: the form hears of both as one change, or of the state alone after this wait.
    QTimer sizeWait_;
    QSize frame_;
    QSize knownClient_; // the client size the form knows about
    int knownState_ = Form1::Normal;
    bool firstShow_ = true;
    bool reporting_ = false; // inside form_.windowResized()
    bool sizeOwed_ = false;
    bool stateOwed_ = false;
};
