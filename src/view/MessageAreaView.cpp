#include "MessageAreaView.h"

#include "DesktopPalette.h"
#include "LineBreaks.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

MessageAreaView::MessageAreaView(TextBox& box, QWidget& window, const PushGuard& guard)
    : MessageAreaView(box, makeWidget<QPlainTextEdit>(window, box), guard) {}

MessageAreaView::MessageAreaView(TextBox& box, QPlainTextEdit* edit, const PushGuard& guard)
    : ControlView(box, *edit, guard, {QPalette::Base, QPalette::Text}), box_(box), edit_(*edit) {
    edit_.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_.setTabChangesFocus(true);
    // The ReRun colours and the flashing message are the text's, not the scroll bars'.
    keepDesktopPalette(*edit_.verticalScrollBar());
    keepDesktopPalette(*edit_.horizontalScrollBar());
    watchDoubleClicks(*edit_.viewport());
    QObject::connect(&edit_, &QPlainTextEdit::textChanged, this, [this] {
        if (!pushing())
            widgetChanged();
    });
}

void MessageAreaView::push(Property property) {
    if (property == Property::Text)
        pushText();
    else
        ControlView::push(property);
}

void MessageAreaView::pushAll() {
    ControlView::pushAll();
    pushText();
}

void MessageAreaView::pushText() {
    const QString text = toWidgetLineBreaks(box_.text());
    if (text == shown_)
        return;
    // A text the program puts in while the user types (the ReRun template, say) keeps the
    // cursor where it stood, so that the typing goes on in place.
    const int cursor = edit_.textCursor().position();
    edit_.setPlainText(text);
    if (edit_.hasFocus()) {
        QTextCursor moved = edit_.textCursor();
        moved.setPosition(std::min(cursor, int(edit_.document()->characterCount() - 1)));
        edit_.setTextCursor(moved);
    }
    shown_ = widgetText();
}

// The edit also signals a change for formatting and for a text set to what it already was:
// only a different text is an edit.
void MessageAreaView::widgetChanged() {
    const QString text = widgetText();
    if (text == shown_)
        return;
    shown_ = text;
    box_.setText(toModelLineBreaks(text));
}

// toPlainText() would turn no-break spaces into blanks; the raw text keeps them and only
// needs its block and line separators made line breaks.
QString MessageAreaView::widgetText() const {
    QString text = edit_.document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    }
    return text;
}
