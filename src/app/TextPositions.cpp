#include "app/TextPositions.h"

#include "platform/AsciiCase.h"

namespace TextPositions {

int instr(int start, const QString& text, QStringView find, bool ignoreCase) {
    if (start < 1 || start > text.size() || find.isEmpty())
        return 0;
    const qsizetype last = text.size() - find.size();
    for (qsizetype i = start - 1; i <= last; ++i) {
        qsizetype k = 0;
        for (; k < find.size(); ++k) {
            char16_t a = text[i + k].unicode();
            char16_t b = find[k].unicode();
            if (ignoreCase) {
                a = AsciiCase::fold(a);
                b = AsciiCase::fold(b);
            }
            if (a != b)
                break;
        }
        if (k == find.size())
            return int(i + 1);
    }
    return 0;
}

std::optional<QString> mid(const QString& text, int start, int length) {
    if (start < 1 || length < 0)
        return std::nullopt;
    return text.mid(start - 1, length);
}

std::optional<QString> rest(const QString& text, int start) {
    if (start < 1)
        return std::nullopt;
    return text.mid(start - 1);
}

QChar at(const QString& text, int position) {
    if (position < 1 || position > text.size())
        return {};
    return text[position - 1];
}

} // namespace TextPositions
