#pragma once

#include <QString>
#include <optional>

// The leading number of a text: blanks (spaces, tabs, line feeds) are skipped wherever they
// stand; then an optional sign, digits with at most one decimal point, and an optional
// exponent "E" or "D" in either case with its own sign and digits. Reading stops at the
// first character that does not fit; a text without a number gives 0. Empty when the number
// overflows a double.
namespace NumberRule {
// `length`, when given, receives how many characters the number took (0 without a number).
std::optional<double> leadingNumber(const QString& text, qsizetype* length = nullptr);
} // namespace NumberRule
