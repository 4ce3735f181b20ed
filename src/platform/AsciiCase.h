#pragma once

#include <QStringView>

// Case is ignored for ASCII letters only, so that no other alphabet's letter passes for a unit,
// a keyword or a settings key. Shared by the core's text positions and the settings files.
namespace AsciiCase {

constexpr char16_t fold(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

inline bool equal(QStringView a, QStringView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold(a[i].unicode()) != fold(b[i].unicode()))
            return false;
    }
    return true;
}

} // namespace AsciiCase
