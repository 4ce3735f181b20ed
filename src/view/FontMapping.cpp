#include "FontMapping.h"

#include <QFontDatabase>

QFont toQFont(const Font& font) {
    const bool fixed = font.family == Font::Family::Monospace;
    QFont result =
        QFontDatabase::systemFont(fixed ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont);
    // A desktop without a theme may answer with a family that is not what we asked for; the
    // hint still steers the font matching.
    result.setStyleHint(fixed ? QFont::Monospace : QFont::SansSerif);
    if (font.pointSize > 0)
        result.setPointSizeF(font.pointSize);
    result.setBold(font.bold);
    return result;
}
