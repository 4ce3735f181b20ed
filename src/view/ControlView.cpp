#include "ControlView.h"

#include "ColorMapping.h"
#include "FittedFont.h"
#include "FontMapping.h"
#include "Twips.h"

#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QWidget>

ControlView::ControlView(Control& control, QWidget& widget, const PushGuard& guard, Roles roles)
    : control_(control), widget_(widget), guard_(guard), roles_(roles) {
    widget_.installEventFilter(this);
}

void ControlView::watchDoubleClicks(QWidget& target) {
    if (&target != &widget_)
        target.installEventFilter(this);
}

void ControlView::push(Property property) {
    switch (property) {
    case Property::Left:
    case Property::Top:
    case Property::Width:
    case Property::Height:
        pushGeometry();
        break;
    case Property::Visible:
        if (control_.visible() && fontOwed_)
            pushFont();
        widget_.setVisible(control_.visible());
        break;
    case Property::Enabled:
        widget_.setEnabled(control_.enabled());
        break;
    case Property::ToolTipText:
        widget_.setToolTip(control_.toolTipText());
        break;
    case Property::BackColor:
    case Property::ForeColor:
        pushColors();
        break;
    default:
        break;
    }
}

void ControlView::pushAll() {
    font_ = toQFont(control_.font());
    // A field lays its text out in its font even while hidden: a face that only hidden
    // controls use (the bold one of the closed control area) is loaded when one is first shown,
    // not before the window can appear.
    fontOwed_ = true;
    pushGeometry();
    if (control_.visible())
        pushFont();
    pushColors();
    widget_.setToolTip(control_.toolTipText());
    widget_.setEnabled(control_.enabled());
    widget_.setVisible(control_.visible());
}

void ControlView::pushGeometry() {
    const QSize size = widget_.size();
    widget_.setGeometry(Twips::toPixels(control_.left()), Twips::toPixels(control_.top()),
                        Twips::toPixels(control_.width()), Twips::toPixels(control_.height()));
    if (widget_.size() != size) {
        room_ = QRect();
        fitFont();
    }
}

// The tick may change a display's text many times a second: the room is measured once.
void ControlView::fitFont() {
    if (fontOwed_)
        return;
    const QString text = fittedText();
    if (text.isEmpty())
        return;
    if (!room_.isValid())
        room_ = textRoom(widget_);
    const QFont fitted = fittedFont(widget_, font_, text, room_);
    if (fitted != widget_.font())
        widget_.setFont(fitted);
}

void ControlView::pushFont() {
    widget_.setFont(font_);
    fontOwed_ = false;
    room_ = QRect();
    fitFont();
}

void ControlView::pushColors() {
    applyColors(widget_, roles_.back, control_.backColor(), roles_.fore, control_.foreColor());
}

bool ControlView::eventFilter(QObject* watched, QEvent* event) {
    if (pushing())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            control_.DblClick.raise();
        break;
    case QEvent::FocusOut: {
        // The whole window losing the focus, or a context menu opening, is no move to another
        // control.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (watched == &widget_ && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::PopupFocusReason)
            control_.LostFocus.raise();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
