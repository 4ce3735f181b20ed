#pragma once

#include <QString>

// The texts the program makes of numbers. The decimal separator is always a point.
namespace NumberText {

// A decimal integer.
QString integer(long long v);
// The shortest form, up to 15 significant digits: 0.1, 1, 1.1, 20.
QString shortest(double v);
// One decimal, halves away from zero, taken from the float's shortest decimal form so that
// 0.15 gives 0.2. With leadingZero false a value below 1 shows no digit before the point.
QString oneDecimal(float v, bool leadingZero);
// Rounded to a whole number, halves to even: 42.5 gives 42.
QString whole(double v);

} // namespace NumberText
