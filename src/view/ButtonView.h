#pragma once

#include "ControlView.h"
#include "ui/CommandButton.h"

class QPushButton;

// A command button as a push button.
class ButtonView : public ControlView {
public:
    ButtonView(CommandButton& button, QWidget& window, const PushGuard& guard);

    void push(Property property) override;
    void pushAll() override;

protected:
    QString fittedText() const override;

private:
    ButtonView(CommandButton& button, QPushButton* widget, const PushGuard& guard);

    CommandButton& button_;
    QPushButton& widget_;
};
