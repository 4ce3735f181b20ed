#include "WindowMirror.h"

#include "ColorMapping.h"
#include "Twips.h"

#include <QEvent>
#include <QWidget>

#include <utility>

namespace {
// Window managers answer within a few milliseconds; one that leaves the size as it is must
// not keep the form waiting noticeably.
constexpr int sizeWaitMs = 250;
} // namespace

WindowMirror::WindowMirror(Form1& form, QWidget& window) : form_(form), window_(window) {
    settle_.setSingleShot(true);
    settle_.setInterval(0);
    QObject::connect(&settle_, &QTimer::timeout, this, [this] { reportChange(false); });
    sizeWait_.setSingleShot(true);
    sizeWait_.setInterval(sizeWaitMs);
    QObject::connect(&sizeWait_, &QTimer::timeout, this, [this] { reportChange(true); });
    window_.installEventFilter(this);
}

void WindowMirror::push(Property property) {
    switch (property) {
    case Property::Caption:
        window_.setWindowTitle(form_.caption());
        break;
    case Property::Width:
    case Property::Height:
        if (reporting_)
            sizeOwed_ = true;
        else
            pushSize();
        break;
    case Property::WindowState:
        if (reporting_)
            stateOwed_ = true;
        else
            pushState();
        break;
    case Property::Left:
    case Property::Top:
        if (!reporting_)
            window_.move(Twips::toPixels(form_.left()), Twips::toPixels(form_.top()));
        break;
    case Property::Visible:
        window_.setVisible(form_.visible());
        break;
    case Property::Enabled:
        window_.setEnabled(form_.enabled());
        break;
    case Property::ToolTipText:
        window_.setToolTip(form_.toolTipText());
        break;
    case Property::BackColor:
    case Property::ForeColor:
        pushColors();
        break;
    default:
        break;
    }
}

// The window's place and its showing are left to the desktop and to main().
void WindowMirror::pushAll() {
    window_.setWindowTitle(form_.caption());
    // The form's font is not the window's: the window draws no text, every control has a font
    // of its own, and the window's would only make Qt lay out every field in it first.
    pushColors();
    window_.setToolTip(form_.toolTipText());
    window_.setEnabled(form_.enabled());
    pushSize();
    if (form_.windowState() != Form1::Normal)
        pushState();
}

void WindowMirror::pushColors() {
    applyColors(window_, QPalette::Window, form_.backColor(), QPalette::WindowText,
                form_.foreColor());
}

// A resize to the size the window already has is no change: the window manager would still
// take the request as the client's wish and end a maximised state for it.
void WindowMirror::pushSize() {
    knownClient_ = QSize(qMax(1, Twips::toPixels(form_.width()) - frame().width()),
                         qMax(1, Twips::toPixels(form_.height()) - frame().height()));
    if (window_.size() != knownClient_)
        window_.resize(knownClient_);
}

void WindowMirror::pushState() {
    knownState_ = form_.windowState();
    Qt::WindowStates states = window_.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (knownState_ == Form1::Minimized)
        states |= Qt::WindowMinimized;
    else if (knownState_ == Form1::Maximized)
        states |= Qt::WindowMaximized;
    window_.setWindowState(states);
}

// Where the user put the window, so that an alarm brought back opens there. A window that is
// not shown, or minimised, has no place of its own to keep.
void WindowMirror::reportMove() {
    if (!window_.isVisible() || window_.isMinimized())
        return;
    reporting_ = true;
    form_.windowMoved(Twips::fromPixels(window_.x()), Twips::fromPixels(window_.y()));
    reporting_ = false;
}

int WindowMirror::windowState() const {
    const Qt::WindowStates states = window_.windowState();
    if (states & Qt::WindowMinimized)
        return Form1::Minimized;
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return Form1::Maximized;
    return Form1::Normal;
}

bool WindowMirror::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            settle_.start();
            break;
        case QEvent::Move:
            reportMove();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

// Sizes and states the form set itself come back from the window as events too; they match
// what the form knows and raise nothing.
void WindowMirror::reportChange(bool sizeWaitOver) {
    if (!window_.isVisible())
        return;
    const int state = windowState();
    const QSize client = window_.size();
    const bool changed =
        state != knownState_ || (state != Form1::Minimized && client != knownClient_);
    if (!changed && !firstShow_)
        return;
    const bool maximisedChanged = (state == Form1::Maximized) != (knownState_ == Form1::Maximized);
    const bool eitherMinimized = state == Form1::Minimized || knownState_ == Form1::Minimized;
    if (maximisedChanged && !eitherMinimized && client == knownClient_ && !sizeWaitOver) {
        if (!sizeWait_.isActive())
            sizeWait_.start();
        return;
    }
    sizeWait_.stop();
    firstShow_ = false;
    knownState_ = state;
    if (state != Form1::Minimized)
        knownClient_ = client;
    // The form takes the new width before the new height; pushing that half-new size back
    // would resize the window for nothing (and end a maximised state). Whatever the form holds
    // once its Resize has run is pushed afterwards, if it differs from the window.
    reporting_ = true;
    form_.windowResized(Twips::fromPixels(knownClient_.width() + frame().width()),
                        Twips::fromPixels(knownClient_.height() + frame().height()), state);
    reporting_ = false;
    if (std::exchange(stateOwed_, false) && form_.windowState() != state)
        pushState();
    if (std::exchange(sizeOwed_, false))
        pushSize();
}
