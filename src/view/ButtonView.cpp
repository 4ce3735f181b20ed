#include "ButtonView.h"

#include <QPushButton>

ButtonView::ButtonView(CommandButton& button, QWidget& window, const PushGuard& guard)
    : ButtonView(button, makeWidget<QPushButton>(window, button), guard) {}

ButtonView::ButtonView(CommandButton& button, QPushButton* widget, const PushGuard& guard)
    : ControlView(button, *widget, guard, {QPalette::Button, QPalette::ButtonText}),
      button_(button), widget_(*widget) {
    // In a plain window Enter must not press a button: the Message Area takes it.
    widget_.setAutoDefault(false);
    QObject::connect(&widget_, &QPushButton::clicked, this, [this] {
        if (!pushing())
            button_.Click.raise();
    });
}

void ButtonView::push(Property property) {
    if (property == Property::Caption) {
        widget_.setText(button_.caption());
        fitFont();
    } else {
        ControlView::push(property);
    }
}

void ButtonView::pushAll() {
    ControlView::pushAll();
    widget_.setText(button_.caption());
    fitFont();
}

QString ButtonView::fittedText() const {
    return button_.caption();
}
