#include "app/NumberText.h"

#include "app/IntegerStore.h"

#include <charconv>
#include <cmath>
#include <string>

namespace NumberText {

QString integer(long long v) {
    return QString::number(v);
}

QString shortest(double v) {
    return QString::number(v, 'g', 15);
}

QString oneDecimal(float v, bool leadingZero) {
    const bool negative = std::signbit(v);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed);
    if (res.ec != std::errc())
        return QString::number(double(v), 'f', 1);
    std::string digits(buf, res.ptr);
    const auto point = digits.find('.');
    std::string whole = point == std::string::npos ? digits : digits.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : digits.substr(point + 1);
    fraction.resize(2, '0');
    int tenth = fraction[0] - '0';
    if (fraction[1] >= '5') {
        ++tenth;
        if (tenth == 10) {
            tenth = 0;
            // Carry into the whole part, digit by digit.
            int i = int(whole.size()) - 1;
            while (i >= 0 && whole[i] == '9')
                whole[i--] = '0';
            if (i < 0)
                whole.insert(whole.begin(), '1');
            else
                ++whole[i];
        }
    }
    if (whole == "0" && !leadingZero)
        whole.clear();
    const std::string text =
        (negative && (whole != "0" || tenth != 0) ? "-" : "") + whole + "." + char('0' + tenth);
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString whole(double v) {
    return QString::number(Store::roundHalfEven(v), 'f', 0);
}

} // namespace NumberText
