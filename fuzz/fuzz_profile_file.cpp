// The profile-file module on any file. The input is "section NUL key NUL value NUL file bytes"
// (section, key and value as UTF-8; an empty file part means no file at all); an input with
// fewer than three NULs is the file alone, with the key Message of User-Data.
//
// A read must agree with the INI rules worked out here a second way, on decoded lines. A write
// must give back the value on the next read, and leave every other line as it was: byte for
// byte, or, when the file had to go from the code page to UTF-8, as the same text.
#include "FuzzCheck.h"
#include "platform/linux/settings/IniProfileFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

constexpr qsizetype maxValue = 254;
const QByteArray utf8Bom("\xEF\xBB\xBF");

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool validUtf8(QByteArrayView b) {
    static constexpr char32_t lowest[5] = {0, 0, 0x80, 0x800, 0x10000};
    for (qsizetype i = 0; i < b.size();) {
        const auto lead = std::uint8_t(b[i]);
        int length;
        char32_t code;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > b.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = std::uint8_t(b[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        if (code < lowest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

QString decode1252(QByteArrayView b) {
    // 0x80 to 0x9F; the five bytes the code page leaves open keep their Latin-1 value.
    static constexpr char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text;
    for (const char c : b) {
        const auto u = std::uint8_t(c);
        text += QChar(u >= 0x80 && u <= 0x9F ? high[u - 0x80] : char16_t(u));
    }
    return text;
}

// UTF-8 as it stands: a U+FEFF at the start is text, not a byte-order mark to drop.
QString fromUtf8(QByteArrayView raw) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8.decode(raw);
}

enum class Encoding { Ascii, Utf8, Cp1252 };

struct Line {
    QByteArray content;
    QByteArray ending; // CR LF, LF, CR, or nothing on an unterminated last line
};

struct File {
    bool bom = false;
    Encoding encoding = Encoding::Ascii;
    std::vector<Line> lines;

    explicit File(QByteArray bytes) {
        bom = bytes.startsWith(utf8Bom);
        QByteArrayView body(bytes);
        if (bom)
            body = body.sliced(3);
        const bool ascii = std::all_of(body.begin(), body.end(), [](char c) { return c >= 0; });
        encoding = ascii ? Encoding::Ascii : validUtf8(body) ? Encoding::Utf8 : Encoding::Cp1252;
        qsizetype start = 0;
        for (qsizetype i = 0; i < body.size(); ++i) {
            if (body[i] != '\r' && body[i] != '\n')
                continue;
            const qsizetype endLength =
                body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n' ? 2 : 1;
            lines.push_back({body.sliced(start, i - start).toByteArray(),
                             body.sliced(i, endLength).toByteArray()});
            i += endLength - 1;
            start = i + 1;
        }
        if (start < body.size())
            lines.push_back({body.sliced(start).toByteArray(), {}});
    }
    QString text(const QByteArray& raw) const {
        // Only the file's first bytes can be a byte-order mark, and File has taken those.
        return encoding == Encoding::Cp1252 ? decode1252(raw) : fromUtf8(raw);
    }
};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QString trimmed(const QString& s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isBlank(s[from]))
        ++from;
    while (to > from && isBlank(s[to - 1]))
        --to;
    return s.mid(from, to - from);
}

bool quoted(const QString& s) {
    return s.size() >= 2 && (s.front() == u'"' || s.front() == u'\'') && s.back() == s.front();
}

bool sameName(const QString& a, const QString& b) {
    auto fold = [](QChar c) { return c >= u'A' && c <= u'Z' ? c.unicode() + 32 : c.unicode(); };
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

struct Parsed {
    enum { Other, Section, Key } kind = Other;
    QString name;
    QString value;
};

Parsed parse(const QString& content) {
    const QString t = trimmed(content);
    if (t.isEmpty() || t.front() == u';')
        return {};
    if (t.front() == u'[') {
        const qsizetype close = t.indexOf(u']');
        if (close < 0)
            return {};
        return {Parsed::Section, trimmed(t.mid(1, close - 1)), {}};
    }
    const qsizetype equals = t.indexOf(u'=');
    if (equals < 0)
        return {};
    QString value = trimmed(t.mid(equals + 1));
    if (quoted(value))
        value = value.mid(1, value.size() - 2);
    return {Parsed::Key, trimmed(t.left(equals)), value};
}

QString cut(QString value) {
    if (value.size() > maxValue)
        value.truncate(value[maxValue - 1].isHighSurrogate() ? maxValue - 1 : maxValue);
    return value;
}

struct Found {
    qsizetype line = -1; // the first key line that matches, -1 for none
    bool section = false;
    QString value;
};

Found find(const File& file, const QString& section, const QString& key) {
    Found found;
    bool inSection = false;
    for (qsizetype i = 0; i < qsizetype(file.lines.size()); ++i) {
        const Parsed p = parse(file.text(file.lines[i].content));
        if (p.kind == Parsed::Section) {
            inSection = sameName(p.name, section);
            found.section = found.section || inSection;
        } else if (p.kind == Parsed::Key && inSection && sameName(p.name, key)) {
            found.line = i;
            found.value = cut(p.value);
            return found;
        }
    }
    return found;
}

// What a section or key must look like to be found again once written.
bool writableName(const QString& name, QChar forbidden) {
    return !name.contains(u'\r') && !name.contains(u'\n') && !name.contains(forbidden) &&
           (name.isEmpty() || (!isBlank(name.front()) && !isBlank(name.back())));
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly), "the written file can be read");
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size(),
               "the fuzz file can be written");
}

// The directory of the files, removed again when the fuzzer ends.
struct TemporaryDirectory {
    QString path;
    TemporaryDirectory() {
        QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/pingolet-fuzz-XXXXXX";
        FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr, "a temporary directory");
        path = QFile::decodeName(pattern);
    }
    ~TemporaryDirectory() { QDir(path).removeRecursively(); }
};

const QString& directory() {
    static const TemporaryDirectory directory;
    return directory.path;
}

void checkWrite(const File& before, const File& after, const QString& section, const QString& key,
                const QString& oneLine) {
    FUZZ_CHECK(before.bom == after.bom, "the byte-order mark stays as it was");
    FUZZ_CHECK(!(before.encoding == Encoding::Utf8 && after.encoding == Encoding::Cp1252),
               "a UTF-8 file stays UTF-8");
    // Same bytes, unless the file went from the code page to UTF-8: then the same text.
    const bool reencoded = before.encoding == Encoding::Cp1252 && after.encoding == Encoding::Utf8;
    auto same = [&](const Line& a, const Line& b) {
        if (a.ending != b.ending)
            return false;
        return reencoded ? before.text(a.content) == after.text(b.content) : a.content == b.content;
    };
    auto sameContent = [&](const Line& a, const Line& b) {
        return reencoded ? before.text(a.content) == after.text(b.content) : a.content == b.content;
    };

    const auto& o = before.lines;
    const auto& n = after.lines;
    const qsizetype no = qsizetype(o.size());
    const qsizetype nn = qsizetype(n.size());
    qsizetype prefix = 0;
    while (prefix < no && prefix < nn && same(o[prefix], n[prefix]))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < std::min(no, nn) - prefix && same(o[no - 1 - suffix], n[nn - 1 - suffix]))
        ++suffix;
    const qsizetype oldMiddle = no - prefix - suffix;
    const qsizetype newMiddle = nn - prefix - suffix;

    const QString keyLine = key + u'=' + oneLine;
    const QString header = u'[' + section + u']';
    const Found old = find(before, section, key);
    auto text = [&](qsizetype i) { return after.text(n[i].content); };
    // The old ends of the file's lines: what a new line end may copy.
    auto knownEnding = [&](const QByteArray& ending) {
        bool any = false;
        for (const Line& line : o) {
            if (line.ending == ending)
                return true;
            any = any || !line.ending.isEmpty();
        }
        return !any && ending == "\r\n";
    };
    // An unterminated last line may gain a line end when something goes after it.
    const bool lastGainsEnd = oldMiddle == 1 && suffix == 0 && o[no - 1].ending.isEmpty() &&
                              newMiddle >= 2 && sameContent(o[no - 1], n[prefix]) &&
                              knownEnding(n[prefix].ending);

    if (old.line >= 0) {
        if (oldMiddle == 0 && newMiddle == 0) {
            FUZZ_CHECK(before.text(o[old.line].content) == keyLine, "an unchanged file");
            return;
        }
        FUZZ_CHECK(oldMiddle == 1 && newMiddle == 1, "only the key's line changes");
        FUZZ_CHECK(prefix == old.line, "the first matching key's line changes");
        FUZZ_CHECK(o[prefix].ending == n[prefix].ending, "the key's line keeps its end");
        FUZZ_CHECK(text(prefix) == keyLine, "the key's line is key=value");
        return;
    }
    if (old.section) {
        if (lastGainsEnd) {
            FUZZ_CHECK(newMiddle == 2 && n[nn - 1].ending.isEmpty(),
                       "a key after an unterminated last line ends the file");
            FUZZ_CHECK(text(nn - 1) == keyLine, "the new line is key=value");
            return;
        }
        FUZZ_CHECK(oldMiddle == 0 && newMiddle == 1, "one line is added");
        FUZZ_CHECK(!n[prefix].ending.isEmpty(), "an added line in the middle is ended");
        FUZZ_CHECK(text(prefix) == keyLine, "the new line is key=value");
        return;
    }
    FUZZ_CHECK(suffix == 0, "a new section goes at the end");
    const qsizetype first = lastGainsEnd ? prefix + 1 : prefix;
    FUZZ_CHECK(lastGainsEnd || oldMiddle == 0, "the old lines stay");
    FUZZ_CHECK(nn - first == 2, "a new section is its header and the key");
    FUZZ_CHECK(text(first) == header && text(first + 1) == keyLine, "the new section's lines");
    FUZZ_CHECK(n[first].ending == n[first + 1].ending && knownEnding(n[first].ending),
               "the new lines end like the file's");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray raw = fuzz::bytes(data, size);
    QString section = QStringLiteral("User-Data");
    QString key = QStringLiteral("Message");
    QString value = QStringLiteral("Tea is ready");
    std::optional<QByteArray> old = raw;
    const qsizetype a = raw.indexOf('\0');
    const qsizetype b = a < 0 ? -1 : raw.indexOf('\0', a + 1);
    const qsizetype c = b < 0 ? -1 : raw.indexOf('\0', b + 1);
    if (c >= 0) {
        section = fromUtf8(raw.first(a));
        key = fromUtf8(raw.sliced(a + 1, b - a - 1));
        value = fromUtf8(raw.sliced(b + 1, c - b - 1));
        old = raw.sliced(c + 1);
        if (old->isEmpty())
            old.reset();
    }

    const QString path = directory() + QStringLiteral("/settings.ini");
    if (old)
        writeFile(path, *old);
    else
        QFile::remove(path);
    const File before(old.value_or(QByteArray()));

    // The read.
    IniProfileFile profile;
    const QString absent = QStringLiteral("\x01absent");
    const Found expected = find(before, section, key);
    const QString got = profile.readString(section, key, absent, path);
    FUZZ_CHECK(got == (expected.line >= 0 ? expected.value : absent), "read gives the INI value");

    // The write.
    const bool writable = writableName(section, u']') && writableName(key, u'=') &&
                          !key.startsWith(u';') && !key.startsWith(u'[');
    const bool written = profile.writeString(section, key, value, path);
    FUZZ_CHECK(written == writable, "a write fails only for a name that could not be found again");
    if (!written) {
        FUZZ_CHECK(old ? readFile(path) == *old : !QFile::exists(path),
                   "a refused write leaves the file as it was");
        return 0;
    }
    const File after(readFile(path));
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    checkWrite(before, after, section, key, oneLine);

    // The value comes back, where the INI rules can carry it.
    const Found again = find(after, section, key);
    FUZZ_CHECK(again.line >= 0, "the written key is found again");
    FUZZ_CHECK(profile.readString(section, key, absent, path) == again.value,
               "read of the new file gives the INI value");
    if (trimmed(oneLine) == oneLine && !quoted(oneLine))
        FUZZ_CHECK(again.value == cut(oneLine), "read gives back the written value");
    return 0;
}
