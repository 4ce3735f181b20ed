#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken invariant is a crash, so that libFuzzer keeps the input that shows it.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant failed: %s\n  %s\n  at %s:%d\n", what, #condition,     \
                         __FILE__, __LINE__);                                                      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// UTF-16 in little-endian byte order; an odd last byte is dropped.
inline QString fromUtf16Le(QByteArrayView raw) {
    QString text(raw.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(std::uint8_t(raw[2 * i]) | std::uint8_t(raw[2 * i + 1]) << 8));
    return text;
}

// For a failure message: the text with its control characters escaped.
inline QByteArray shown(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += "\\x" + QByteArray::number(c.unicode(), 16);
        else
            out += QString(c).toUtf8();
    }
    return out;
}

} // namespace fuzz
