#include "indicator/IndicatorIcon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {
// What the panels ask for: 22 px for most, 64 px where they scale.
constexpr int Sizes[] = {22, 64};

QPixmap marked(const QIcon& base, int size, const IndicatorMark& mark) {
    QPixmap pixmap = base.pixmap(size, size);
    if (pixmap.size() != QSize(size, size))
        pixmap = pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (mark.sounding) {
        const qreal r = size * 0.22;
        painter.setPen(QPen(Qt::white, size / 15.0));
        painter.setBrush(QColor(0xE0, 0x10, 0x10));
        painter.drawEllipse(QPointF(size - r - 0.5, r + 0.5), r, r);
    } else if (!mark.left.isEmpty()) {
        const QRectF patch(0, size * 0.55, size, size * 0.45);
        painter.fillRect(patch, QColor(0, 0, 0, 190));
        QFont font;
        font.setPixelSize(int(patch.height() * 0.9));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(patch, Qt::AlignCenter, mark.left);
    }
    return pixmap;
}
} // namespace

QIcon indicatorIcon(const QIcon& base, const IndicatorMark& mark) {
    QIcon icon;
    for (const int size : Sizes)
        icon.addPixmap(marked(base, size, mark));
    return icon;
}
