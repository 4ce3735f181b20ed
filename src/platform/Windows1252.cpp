#include "platform/Windows1252.h"

namespace Windows1252 {

namespace {
// 0x80 to 0x9F; 0 where the code page defines nothing.
constexpr char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                               0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        const char16_t mapped = b >= 0x80 && b <= 0x9F ? high[b - 0x80] : 0;
        *out++ = QChar(mapped ? mapped : char16_t(b));
    }
    return text;
}

std::optional<QByteArray> encode(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(char(u));
            continue;
        }
        int found = -1;
        for (int i = 0; i < 32; ++i) {
            if (high[i] == u || (high[i] == 0 && u == 0x80 + i)) {
                found = i;
                break;
            }
        }
        if (found < 0)
            return std::nullopt;
        bytes.append(char(0x80 + found));
    }
    return bytes;
}

} // namespace Windows1252
