#pragma once

#include "ControlView.h"
#include "ui/TextBox.h"

class QLineEdit;

// A single-line text box as a line edit.
class TextBoxView : public ControlView {
public:
    // A read-only box only displays what the program writes into it.
    TextBoxView(TextBox& box, QWidget& window, const PushGuard& guard, bool readOnly);

    void push(Property property) override;
    void pushAll() override;

protected:
    // A display box's text; what the user types scrolls instead.
    QString fittedText() const override;

private:
    TextBoxView(TextBox& box, QLineEdit* edit, const PushGuard& guard, bool readOnly);
    void pushText();
    void pushMaxLength();
    void userEdited(const QString& text);

    TextBox& box_;
    QLineEdit& edit_;
};
