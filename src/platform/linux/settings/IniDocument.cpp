#include "IniDocument.h"

#include "IniSyntax.h"
#include "platform/AsciiCase.h"
#include "platform/Windows1252.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

struct Utf8Check {
    bool valid = true;
    bool ascii = true;
};

bool isAscii(QByteArrayView raw) {
    return std::all_of(raw.begin(), raw.end(), [](char c) { return (c & 0x80) == 0; });
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF, nothing cut short), as
// Qt's decoder reads it.
Utf8Check checkUtf8(QByteArrayView bytes) {
    if (isAscii(bytes)) {
        return {true, true};
    }
    return {bytes.isValidUtf8(), false};
}

// What a caller's section or key must look like to be found again after it is written.
bool readableName(QStringView name, QStringView forbidden) {
    for (const QChar c : name) {
        if (c == u'\r' || c == u'\n' || forbidden.contains(c)) {
            return false;
        }
    }
    const bool blankAtEdge = !name.isEmpty() && (name.front() == u' ' || name.front() == u'\t' ||
                                                 name.back() == u' ' || name.back() == u'\t');
    return !blankAtEdge;
}

constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF");

} // namespace

IniDocument::IniDocument(QByteArray bytes) : bytes_(std::move(bytes)) {
    bomSize_ = QByteArrayView(bytes_).startsWith(utf8Bom) ? utf8Bom.size() : 0;
}

QByteArrayView IniDocument::body() const {
    return QByteArrayView(bytes_).sliced(bomSize_);
}

IniDocument::Encoding IniDocument::encoding() const {
    if (!encoding_) {
        const Utf8Check check = checkUtf8(body());
        encoding_ = !check.valid                   ? Encoding::Windows1252
                    : check.ascii && bomSize_ == 0 ? Encoding::Ascii
                                                   : Encoding::Utf8;
    }
    return *encoding_;
}

QString IniDocument::decode(QByteArrayView raw) const {
    if (!utf8()) {
        return Windows1252::decode(raw);
    }
    // QString::fromUtf8 drops a U+FEFF that starts the bytes; inside the file it is text (the
    // file's own byte-order mark is left out of every line already).
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(raw);
}

bool IniDocument::sameName(QByteArrayView raw, QStringView wanted) const {
    if (!isAscii(raw)) {
        return AsciiCase::equal(decode(raw), wanted);
    }
    if (raw.size() != wanted.size()) {
        return false;
    }
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (AsciiCase::fold(char16_t(raw[i])) != AsciiCase::fold(wanted[i].unicode())) {
            return false;
        }
    }
    return true;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const {
    const QByteArrayView all(bytes_);
    IniSyntax::LineScanner lines(all, bomSize_);
    IniSyntax::Line line;
    bool inSection = false;
    while (lines.next(line)) {
        const auto parsed = IniSyntax::parse(all.sliced(line.start, line.contentEnd - line.start));
        if (parsed.kind == IniSyntax::Kind::Section) {
            inSection = sameName(parsed.name, section);
        } else if (parsed.kind == IniSyntax::Kind::Key && inSection && sameName(parsed.name, key)) {
            QByteArrayView raw = parsed.value;
            // Decode no more than the cut can keep: a UTF-16 unit takes at most three bytes.
            const qsizetype maxBytes = utf8() ? maxValueLength * 3 : maxValueLength;
            if (raw.size() > maxBytes) {
                qsizetype cut = maxBytes;
                while (utf8() && cut > 0 && (raw[cut] & 0xC0) == 0x80) {
                    --cut;
                }
                raw = raw.first(cut);
            }
            QString text = decode(raw);
            if (text.size() > maxValueLength) {
                // Never keep half of a surrogate pair.
                text.truncate(text[maxValueLength - 1].isHighSurrogate() ? maxValueLength - 1
                                                                         : maxValueLength);
            }
            return text;
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> IniDocument::encode(QStringView text, bool asUtf8) const {
    if (asUtf8) {
        return text.toUtf8();
    }
    return Windows1252::encode(text);
}

QByteArray IniDocument::dominantLineEnd() const {
    const QByteArrayView all(bytes_);
    IniSyntax::LineScanner lines(all, bomSize_);
    IniSyntax::Line line;
    qsizetype crLf = 0;
    qsizetype lf = 0;
    qsizetype cr = 0;
    while (lines.next(line)) {
        if (line.end - line.contentEnd == 2) {
            ++crLf;
        } else if (line.terminated()) {
            ++(all[line.contentEnd] == '\n' ? lf : cr);
        }
    }
    if (crLf >= lf && crLf >= cr) {
        return "\r\n";
    }
    return lf >= cr ? "\n" : "\r";
}

std::optional<QByteArray> IniDocument::edited(QStringView section, QStringView key,
                                              QStringView value, bool asUtf8) const {
    const auto keyLine = encode(key.toString().append(u'=').append(value), asUtf8);
    if (!keyLine) {
        return std::nullopt;
    }
    const QByteArrayView all(bytes_);
    IniSyntax::LineScanner lines(all, bomSize_);
    IniSyntax::Line line;
    IniSyntax::Line anchor; // the last key line of the section's first appearance, or its header
    bool inSection = false;
    bool inFirstAppearance = false;
    bool sectionFound = false;
    while (lines.next(line)) {
        const auto parsed = IniSyntax::parse(all.sliced(line.start, line.contentEnd - line.start));
        if (parsed.kind == IniSyntax::Kind::Section) {
            inSection = sameName(parsed.name, section);
            inFirstAppearance = inSection && !sectionFound;
            if (inFirstAppearance) {
                sectionFound = true;
                anchor = line;
            }
        } else if (parsed.kind == IniSyntax::Kind::Key && inSection) {
            if (sameName(parsed.name, key)) {
                QByteArray result = bytes_;
                result.replace(line.start, line.contentEnd - line.start, *keyLine);
                return result;
            }
            if (inFirstAppearance) {
                anchor = line;
            }
        }
    }
    QByteArray result = bytes_;
    if (sectionFound) {
        if (anchor.terminated()) {
            const QByteArray lineEnd =
                bytes_.sliced(anchor.contentEnd, anchor.end - anchor.contentEnd);
            result.insert(anchor.end, *keyLine + lineEnd);
        } else {
            result.insert(anchor.end, dominantLineEnd() + *keyLine);
        }
        return result;
    }
    const auto header = encode(QString(u'[').append(section).append(u']'), asUtf8);
    if (!header) {
        return std::nullopt;
    }
    const QByteArray lineEnd = dominantLineEnd();
    if (result.size() > bomSize_ && !result.endsWith('\n') && !result.endsWith('\r')) {
        result += lineEnd;
    }
    result += *header + lineEnd + *keyLine + lineEnd;
    return result;
}

bool IniDocument::setValue(QStringView section, QStringView key, QStringView value) {
    if (!readableName(section, u"]") || !readableName(key, u"=") || key.startsWith(u';') ||
        key.startsWith(u'[')) {
        return false;
    }
    QString oneLine = value.toString();
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');

    if (encoding() != Encoding::Utf8) {
        if (auto result = edited(section, key, oneLine, false)) {
            // Code-page bytes that happen to form valid UTF-8 would be read back as UTF-8.
            const Utf8Check check = checkUtf8(QByteArrayView(*result).sliced(bomSize_));
            if (!check.valid || check.ascii) {
                bytes_ = std::move(*result);
                encoding_.reset();
                return true;
            }
        }
        // The text cannot stay in the code page without a loss: the whole file goes to UTF-8.
        bytes_ = bytes_.first(bomSize_) + Windows1252::decode(body()).toUtf8();
        encoding_ = Encoding::Utf8;
    }
    bytes_ = *edited(section, key, oneLine, true);
    encoding_.reset();
    return true;
}
