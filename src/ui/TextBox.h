#pragma once

#include "Control.h"

// A text box. Line breaks in its text are CR LF. The maximum length limits what a user
// types, not what code sets.
class TextBox : public Control {
public:
    explicit TextBox(QString name) : Control(Kind::TextBox, std::move(name)) {}

    const QString& text() const { return text_; }
    int maxLength() const { return maxLength_; } // 0: no limit
    bool multiLine() const { return multiLine_; }

    // Raises Change, nested, when the text really changes.
    bool setText(const QString& text) {
        if (text == text_)
            return true;
        text_ = text;
        notify(Property::Text);
        Change.raise();
        return true;
    }

    // The user pressed Enter in a single-line box.
    Event EnterPressed;

    void createText(const QString& text, int maxLength, bool multiLine) {
        text_ = text;
        maxLength_ = maxLength;
        multiLine_ = multiLine;
    }

private:
    QString text_;
    int maxLength_ = 0;
    bool multiLine_ = false;
};
