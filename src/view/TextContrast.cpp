#include "TextContrast.h"

#include "ColorMapping.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

namespace {
// x to the power 2.4 for x in (0, 1]: x squared times the fifth root of x squared, the root by
// Newton's steps from above. Without the math library, whose pages the window otherwise leaves
// untouched (pow alone cost 200 KB of them).
double toThePower2_4(double x) {
    const double square = x * x;
    double root = 1;
    for (int i = 0; i < 64; ++i) {
        const double next = (4 * root + square / (root * root * root * root)) / 5;
        if (next >= root)
            break;
        root = next;
    }
    return square * root;
}

double channel(double c) {
    return c <= 0.04045 ? c / 12.92 : toThePower2_4((c + 0.055) / 1.055);
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
