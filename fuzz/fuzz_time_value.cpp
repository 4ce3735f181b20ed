// The time-value parser and the number rule under it, on any text. Each result is checked
// against the rules worked out a second, simpler way: blanks dropped first, then the longest
// prefix that is a number handed to strtod whole.
#include "FakePlatform.h"
#include "FuzzCheck.h"
#include "app/NumberRule.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <string>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<double> referenceNumber(const QString& text) {
    // Anything outside ASCII, and NUL, can only end a number: one stand-in will do.
    std::string s;
    for (const QChar c : text) {
        if (!isBlank(c))
            s += c.unicode() > 0 && c.unicode() < 0x7f ? char(c.unicode()) : '\x7f';
    }
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i]))
            digits = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return 0.0;
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            s[i] = 'e';
            end = j;
        }
    }
    const double v = std::strtod(s.substr(0, end).c_str(), nullptr);
    if (std::isinf(v))
        return std::nullopt;
    return v;
}

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

float referenceTimeValue(const QString& text) {
    // The earliest unit letter from the second character on, ASCII letters of either case.
    static constexpr std::int32_t multiplier[] = {1, 60, 3600, 86400, 604800};
    std::int32_t unit = 0;
    for (qsizetype i = 1; i < text.size() && unit == 0; ++i) {
        const char16_t c = text[i].unicode();
        const char16_t lower = c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
        const auto at = std::u16string_view(u"smhdw").find(lower);
        if (at != std::u16string_view::npos)
            unit = multiplier[at];
    }
    const auto number = referenceNumber(text);
    if (!number)
        return 0;
    const float single = float(*number);
    if (std::isinf(single))
        return 0;
    const float product = float(double(std::fabs(single)) * unit);
    return std::isinf(product) ? 0 : product;
}

void check(Program& program, const QString& text) {
    const auto number = NumberRule::leadingNumber(text);
    // Past a million characters a mantissa could outweigh the seven exponent digits the rule
    // keeps; the inputs here stay far below that.
    if (text.size() < 100000) {
        const auto expected = referenceNumber(text);
        FUZZ_CHECK(number.has_value() == expected.has_value(), "number rule: overflow differs");
        if (number)
            FUZZ_CHECK(sameDouble(*number, *expected), "number rule: value differs");
    }
    if (number)
        FUZZ_CHECK(!std::isnan(*number) && !std::isinf(*number), "number rule: not finite");

    const float seconds = program.ParseTimeValue(text);
    FUZZ_CHECK(std::isfinite(seconds) && seconds >= 0 && !std::signbit(seconds),
               "time value: negative or not finite");
    const float expected = referenceTimeValue(text);
    FUZZ_CHECK(std::memcmp(&seconds, &expected, sizeof seconds) == 0, "time value differs");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Harness h; // one program for every input: the parser keeps no state
    const QByteArray raw = fuzz::bytes(data, size);
    check(h.program, QString::fromUtf8(raw));
    check(h.program, QString::fromLatin1(raw)); // every byte a character of its own
    return 0;
}
