#include "app/NumberRule.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace NumberRule {

namespace {
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
} // namespace

std::optional<double> leadingNumber(const QString& text, qsizetype* length) {
    std::string number; // the accepted characters, blanks left out, in C-locale form
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };

    skipBlanks();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        number += char(text[i++].unicode());
    bool point = false;
    bool digits = false;
    for (;; ++i) {
        skipBlanks();
        if (i >= n)
            break;
        if (isDigit(text[i])) {
            number += char(text[i].unicode());
            digits = true;
        } else if (text[i] == u'.' && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (length)
        *length = digits ? i : 0;
    if (!digits)
        return 0.0;

    // An exponent counts only when digits follow its letter.
    if (i < n && (text[i].toUpper() == u'E' || text[i].toUpper() == u'D')) {
        qsizetype j = i + 1;
        std::string sign;
        std::string expDigits; // significant digits only: leading zeros change nothing
        bool any = false;
        while (j < n && isBlank(text[j]))
            ++j;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            sign = char(text[j++].unicode());
        for (;; ++j) {
            while (j < n && isBlank(text[j]))
                ++j;
            if (j >= n || !isDigit(text[j]))
                break;
            any = true;
            if (!(expDigits.empty() && text[j] == u'0') && expDigits.size() < 7)
                expDigits += char(text[j].unicode());
        }
        // Seven digits already put any mantissa past the double range, one way or the other.
        if (any) {
            number += "e" + sign + (expDigits.empty() ? "0" : expDigits);
            if (length)
                *length = j;
        }
    }

    const double v = std::strtod(number.c_str(), nullptr);
    if (std::isinf(v))
        return std::nullopt;
    return v;
}

} // namespace NumberRule
