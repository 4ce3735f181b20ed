#include "TextContrast.h"

#include "ColorMapping.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace {
double channel(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

bool isDarkInk(Colors::Ole fore) {
    return fore == Colors::Black || fore == Colors::WindowText;
}
} // namespace

QColor textColorOn(Colors::Ole back, Colors::Ole fore) {
    if (!isDarkInk(fore))
        return toQColor(fore);
    const QColor paletteText = QApplication::palette().color(QPalette::Active, QPalette::Text);
    if (Colors::isSystem(back))
        return paletteText;
    const QColor background = toQColor(back);
    const QColor black(Qt::black);
    return contrastRatio(black, background) >= contrastRatio(paletteText, background) ? black
                                                                                      : paletteText;
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
