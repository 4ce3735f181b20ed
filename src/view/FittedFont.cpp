#include "FittedFont.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

namespace {
// A caption closer than this to its button's frame touches it.
constexpr int captionPadding = 2;
// QLineEdit keeps this much room on either side of its text.
constexpr int lineEditMargin = 2;
constexpr double smallestPoints = 6;
constexpr double pointStep = 0.25;

QRect buttonRoom(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return button.style()
        ->subElementRect(QStyle::SE_PushButtonContents, &option, &button)
        .adjusted(captionPadding, 0, -captionPadding, 0);
}

QRect lineEditRoom(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    return edit.style()
        ->subElementRect(QStyle::SE_LineEditContents, &option, &edit)
        .marginsRemoved(edit.textMargins())
        .adjusted(lineEditMargin, 0, -lineEditMargin, 0);
}
} // namespace

QRect textRoom(const QWidget& widget) {
    if (const auto* button = qobject_cast<const QPushButton*>(&widget))
        return buttonRoom(*button);
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget))
        return lineEditRoom(*edit);
    return widget.rect();
}

QFont fittedFont(const QWidget& widget, const QFont& font, const QString& text, const QRect& room) {
    auto* device = const_cast<QWidget*>(&widget);
    QFont fitted = font;
    for (double points = font.pointSizeF(); points >= smallestPoints; points -= pointStep) {
        fitted.setPointSizeF(points);
        const QFontMetrics metrics(fitted, device);
        if (metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height())
            return fitted;
    }
    return fitted;
}
