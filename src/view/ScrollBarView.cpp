#include "ScrollBarView.h"

#include "SliderBar.h"

ScrollBarView::ScrollBarView(VScrollBar& bar, QWidget& window, const PushGuard& guard)
    : ScrollBarView(bar, makeWidget<SliderBar>(window, bar), guard) {}

ScrollBarView::ScrollBarView(VScrollBar& bar, QScrollBar* widget, const PushGuard& guard)
    : ControlView(bar, *widget, guard, {QPalette::Button, QPalette::ButtonText}), bar_(bar),
      widget_(*widget) {
    // A scroll bar of the form is a tab stop that the arrow keys move.
    widget_.setFocusPolicy(Qt::StrongFocus);
    // Mouse and keyboard alike end up as a new value; the model's own values come in under
    // the guard and are not sent back.
    QObject::connect(&widget_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!pushing() && value != bar_.value())
            bar_.setValue(value);
    });
}

void ScrollBarView::push(Property property) {
    switch (property) {
    case Property::Min:
    case Property::Max:
        pushRange();
        break;
    case Property::Value:
        pushValue();
        break;
    default:
        ControlView::push(property);
        break;
    }
}

void ScrollBarView::pushAll() {
    ControlView::pushAll();
    widget_.setSingleStep(bar_.smallChange());
    widget_.setPageStep(bar_.largeChange());
    pushRange();
    pushValue();
}

void ScrollBarView::pushRange() {
    // Min at the top: when Min is the larger end, the high values are at the top, and the
    // arrow keys must follow what the user sees.
    const bool minAbove = bar_.min() > bar_.max();
    widget_.setInvertedAppearance(minAbove);
    widget_.setInvertedControls(!minAbove);
    widget_.setRange(bar_.low(), bar_.high());
}

void ScrollBarView::pushValue() {
    if (widget_.value() != bar_.value())
        widget_.setValue(bar_.value());
}
