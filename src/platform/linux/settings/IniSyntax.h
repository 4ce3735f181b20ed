#pragma once

#include <QByteArrayView>

// The line structure of INI files, worked out on the raw bytes. Every character that carries
// structure (line ends, brackets, "=", ";", blanks, quotes) is ASCII, and both encodings of the
// settings files keep ASCII as it is, so nothing has to be decoded to find a key.
namespace IniSyntax {

// One line, as offsets into the file's bytes.
struct Line {
    qsizetype start = 0;      // first byte of the line
    qsizetype contentEnd = 0; // first byte of its line end (CR LF, LF or CR)
    qsizetype end = 0;        // first byte after its line end
    bool terminated() const { return end > contentEnd; }
};

// Walks the lines of the bytes in order. Linear in the size of the bytes, however they are
// split into lines: the next LF and the next CR are each searched for once and then reused.
class LineScanner {
public:
    explicit LineScanner(QByteArrayView bytes, qsizetype from = 0);
    // The next line; false at the end of the bytes.
    bool next(Line& line);

private:
    qsizetype find(char c, qsizetype from) const;

    QByteArrayView bytes_;
    qsizetype pos_;
    qsizetype nextLf_ = -1; // -1: not searched yet; size: none left
    qsizetype nextCr_ = -1;
};

enum class Kind {
    Ignored, // blank, or text without "=" (or a "[" without "]")
    Comment, // first non-blank character ";"
    Section, // "[name]", anything after the "]" ignored
    Key,     // "key=value"
};

struct Parsed {
    Kind kind = Kind::Ignored;
    QByteArrayView name;  // the section's name or the key, blanks trimmed
    QByteArrayView value; // blanks trimmed, one matching pair of surrounding quotes removed
};

Parsed parse(QByteArrayView content);

} // namespace IniSyntax
