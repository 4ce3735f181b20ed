#pragma once

#include "ControlView.h"
#include "ui/TextBox.h"

#include <QString>

class QPlainTextEdit;

// The multi-line text box as a plain-text edit with a vertical scroll bar.
class MessageAreaView : public ControlView {
public:
    MessageAreaView(TextBox& box, QWidget& window, const PushGuard& guard);

    void push(Property property) override;
    void pushAll() override;

private:
    MessageAreaView(TextBox& box, QPlainTextEdit* edit, const PushGuard& guard);
    void pushText();
    void widgetChanged();
    QString widgetText() const;

    TextBox& box_;
    QPlainTextEdit& edit_;
    QString shown_; // the widget's text as last seen, LF line breaks
};
