#include "TextBoxView.h"

#include "LineBreaks.h"

#include <QLineEdit>

namespace {
constexpr int lineEditLimit = 32767; // QLineEdit's own default, its "no limit"
}

TextBoxView::TextBoxView(TextBox& box, QWidget& window, const PushGuard& guard, bool readOnly)
    : TextBoxView(box, makeWidget<QLineEdit>(window, box), guard, readOnly) {}

TextBoxView::TextBoxView(TextBox& box, QLineEdit* edit, const PushGuard& guard, bool readOnly)
    : ControlView(box, *edit, guard, {QPalette::Base, QPalette::Text}), box_(box), edit_(*edit) {
    edit_.setReadOnly(readOnly);
    QObject::connect(&edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!pushing())
            userEdited(text);
    });
    QObject::connect(&edit_, &QLineEdit::returnPressed, this, [this] {
        if (!pushing())
            box_.EnterPressed.raise();
    });
}

void TextBoxView::push(Property property) {
    switch (property) {
    case Property::Text:
        pushText();
        break;
    case Property::MaxLength:
        pushMaxLength();
        break;
    default:
        ControlView::push(property);
        break;
    }
}

void TextBoxView::pushAll() {
    ControlView::pushAll();
    pushText();
    pushMaxLength();
}

void TextBoxView::pushText() {
    const QString text = toWidgetLineBreaks(box_.text());
    // The user's own edit comes back here from the model: leave the cursor where it is.
    if (text == edit_.text())
        return;
    edit_.setMaxLength(lineEditLimit);
    edit_.setText(text);
    pushMaxLength();
    fitFont();
}

QString TextBoxView::fittedText() const {
    return edit_.isReadOnly() ? edit_.text() : QString();
}

// The limit holds the user back, not the program: a longer text from code stays whole, and
// the user can shorten it but not lengthen it.
void TextBoxView::pushMaxLength() {
    const int limit = box_.maxLength();
    edit_.setMaxLength(limit > 0 ? qMax(limit, int(edit_.text().size())) : lineEditLimit);
}

void TextBoxView::userEdited(const QString& text) {
    box_.setText(toModelLineBreaks(text));
    pushMaxLength();
}
