#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The bytes of one INI file, with the lookups and the one-line edits of a single key. Every byte
// that an edit does not touch stays as it was.
class IniDocument {
public:
    explicit IniDocument(QByteArray bytes = {});

    const QByteArray& bytes() const { return bytes_; }

    // The first matching key of any section of that name, both found without regard to ASCII
    // case; cut to 254 characters. Empty when there is none.
    std::optional<QString> value(QStringView section, QStringView key) const;

    // Makes `key=value` the key's line: the first matching key's line is replaced (its line end
    // kept), a new key goes after the last key line of its section, and a missing section is
    // added at the end. CR and LF in the value become blanks. False, with nothing changed, when
    // the section or key could not be found again as given: a "]" in the section, an "=" in the
    // key, a line break or blanks at either end of either, or a key starting with ";" or "[".
    bool setValue(QStringView section, QStringView key, QStringView value);

    // The longest value a lookup gives.
    static constexpr qsizetype maxValueLength = 254;

private:
    enum class Encoding { Ascii, Utf8, Windows1252 };

    QByteArrayView body() const;
    Encoding encoding() const;
    bool utf8() const { return encoding() != Encoding::Windows1252; }
    QString decode(QByteArrayView raw) const;
    bool sameName(QByteArrayView raw, QStringView wanted) const;
    std::optional<QByteArray> encode(QStringView text, bool asUtf8) const;
    std::optional<QByteArray> edited(QStringView section, QStringView key, QStringView value,
                                     bool asUtf8) const;
    QByteArray dominantLineEnd() const;

    QByteArray bytes_;
    qsizetype bomSize_ = 0;
    // Deciding needs a pass over every byte, which most lookups of ASCII text never need.
    mutable std::optional<Encoding> encoding_;
};
