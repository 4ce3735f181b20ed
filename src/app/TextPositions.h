#pragma once

#include <QString>
#include <optional>

// Character positions as the handlers count them: from 1, with 0 for "not found". The one
// place where they meet QString's indexes from 0. Ignoring case means ASCII letters only,
// so that no other alphabet's letter passes for a unit or a keyword.
namespace TextPositions {

// The position of the first `find` at or after `start`, or 0.
int instr(int start, const QString& text, QStringView find, bool ignoreCase = false);
// `length` characters from `start` on. Empty when asked for a start below 1 or a negative
// length; a range past the end gives what there is.
std::optional<QString> mid(const QString& text, int start, int length);
// Everything from `start` on; empty when start is below 1.
std::optional<QString> rest(const QString& text, int start);
// The character at `position`, or a null character past either end.
QChar at(const QString& text, int position);

} // namespace TextPositions
