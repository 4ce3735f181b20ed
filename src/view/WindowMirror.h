#pragma once

#include "ControlMirror.h"
#include "ui/Form1.h"

#include <QObject>
#include <QSize>
#include <QTimer>

class QWidget;

// The form's own properties on the top-level window, and the user's resizing, minimising,
// maximising and restoring handed back to the form. The model counts the outer size, frame
// and caption included; Qt sizes the client area, so a frame is added or removed here.
//
// That frame is a fixed one, not the window manager's. The form places its right-hand and
// bottom controls from the outer size as if the frame were 8 x 27 pixels, which puts its
// right-hand column flush against the window's edge. A Linux desktop's real frame is anything
// from nothing to a wide title bar, and counting it would move the controls with it, out of the
// window where it is thick. So the form counts no side borders and a 27-pixel title bar on
// every desktop: its controls keep their places, the right-hand column 8 pixels from the edge
// as the Message Area is from the left.
class WindowMirror : public QObject, public ControlMirror {
public:
    WindowMirror(Form1& form, QWidget& window);

    void push(Property property) override;
    void pushAll() override;

    static constexpr QSize frame() { return {0, 27}; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pushColors();
    void pushSize();
    void pushState();
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
    QSize knownClient_; // the client size the form knows about
    int knownState_ = Form1::Normal;
    bool firstShow_ = true;
    bool reporting_ = false; // inside form_.windowResized()
    bool sizeOwed_ = false;
    bool stateOwed_ = false;
};
