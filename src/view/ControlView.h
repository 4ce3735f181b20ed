#pragma once

#include "ControlMirror.h"
#include "PushGuard.h"
#include "ui/Control.h"

#include <QFont>
#include <QObject>
#include <QPalette>
#include <QRect>

class QWidget;

// One control shown by one widget. Shows the properties every control has (place, size,
// colours, font, tooltip, visibility, enabled state) and hands the user's double-clicks and
// focus losses to the control.
class ControlView : public QObject, public ControlMirror {
public:
    struct Roles {
        QPalette::ColorRole back;
        QPalette::ColorRole fore;
    };

    ControlView(Control& control, QWidget& widget, const PushGuard& guard, Roles roles);

    Control& control() const { return control_; }
    QWidget& widget() const { return widget_; }

    void push(Property property) override;
    void pushAll() override;

protected:
    bool pushing() const { return guard_.active(); }
    // The text that must fit the widget whole (a caption, a display), or none.
    virtual QString fittedText() const { return {}; }
    // Gives the widget the control's font, or a smaller one in which fittedText() fits.
    void fitFont();
    // Double-clicks arrive at this widget (a scroll area's viewport, for one).
    void watchDoubleClicks(QWidget& target);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pushGeometry();
    void pushFont();
    void pushColors();

    Control& control_;
    QWidget& widget_;
    const PushGuard& guard_;
    Roles roles_;
    QFont font_;            // the control's font as the desktop has it
    QRect room_;            // what the widget leaves its text; invalid until measured
    bool fontOwed_ = false; // hidden so far: the font is given when first shown
};

// A new widget for a control, named after it so that it can be found by name.
template <typename W> W* makeWidget(QWidget& window, const Control& control) {
    auto* widget = new W(&window);
    widget->setObjectName(control.name());
    return widget;
}
