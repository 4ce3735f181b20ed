#include "FileTestSupport.h"
#include "platform/linux/settings/IniProfileFile.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <iostream>
#include <sys/stat.h>

namespace {

constexpr const char* fallback = "<default>";

// Byte literals may hold NUL bytes.
template <std::size_t N> QByteArray raw(const char (&bytes)[N]) {
    return QByteArray(bytes, N - 1);
}

struct ReadCase {
    const char* name;
    QByteArray file;
    const char* section;
    const char* key;
    const char* expected; // UTF-8; `fallback` when nothing must be found
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

class IniReadRule : public filetest::TempDirTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IniReadRule, FindsWhatTheRuleSays) {
    const ReadCase& c = GetParam();
    const QString file = path("settings.ini");
    filetest::writeBytes(file, c.file);
    IniProfileFile profile;
    EXPECT_EQ(profile.readString(c.section, c.key, fallback, file).toStdString(),
              std::string(c.expected));
}

const ReadCase readCases[] = {
    // Names
    {"SectionAndKeyIgnoreCase", raw("[Settings]\r\nStartSet=5m\r\n"), "SETTINGS", "startset", "5m"},
    {"NonAsciiLettersKeepTheirCase", raw("[\xC3\x84rger]\r\nA=1\r\n"), "\xC3\xA4rger", "a",
     fallback},
    {"AsciiLettersAroundNonAsciiFold",
     raw("[Gr\xC3\xB6\xC3\x9F"
         "e]\r\nA=1\r\n"),
     "GR\xC3\xB6\xC3\x9F"
     "E",
     "A", "1"},
    {"Windows1252KeyName", raw("[S]\r\n\xC4=1\r\n"), "s", "\xC3\x84", "1"},
    // Blanks
    {"BlanksAroundKeyAndValue", raw("[S]\r\n \t Key \t= \t a b \t\r\n"), "S", "Key", "a b"},
    {"BlanksAroundSectionHeader", raw(" \t[ \tS \t] \t\r\nKey=1\r\n"), "S", "Key", "1"},
    {"EmptyValueIsNotMissing", raw("[S]\r\nKey=\r\n"), "S", "Key", ""},
    {"EqualsSignsInValue", raw("[S]\r\nKey=a=b\r\n"), "S", "Key", "a=b"},
    // Quotes
    {"DoubleQuotesRemoved", raw("[S]\r\nKey= \" a b \" \r\n"), "S", "Key", " a b "},
    {"SingleQuotesRemoved", raw("[S]\r\nKey='x'\r\n"), "S", "Key", "x"},
    {"OnlyOnePairRemoved", raw("[S]\r\nKey=\"\"x\"\"\r\n"), "S", "Key", "\"x\""},
    {"MismatchedQuotesKept", raw("[S]\r\nKey=\"x'\r\n"), "S", "Key", "\"x'"},
    {"LoneQuoteKept", raw("[S]\r\nKey=\"\r\n"), "S", "Key", "\""},
    {"InnerQuotesKept", raw("[S]\r\nKey=a\"b\"\r\n"), "S", "Key", "a\"b\""},
    // Comments and lines that are not keys
    {"CommentSkipped", raw("[S]\r\n;Key=1\r\nKey=2\r\n"), "S", "Key", "2"},
    {"IndentedCommentSkipped", raw("[S]\r\n \t; Key=1\r\nKey=2\r\n"), "S", "Key", "2"},
    {"CommentedKeyAloneIsMissing", raw("[S]\r\n;Key=1\r\n"), "S", "Key", fallback},
    {"SemicolonInsideValueKept", raw("[S]\r\nKey=a;b\r\n"), "S", "Key", "a;b"},
    {"LineWithoutEqualsIgnored", raw("[S]\r\nKey\r\nKey=1\r\n"), "S", "Key", "1"},
    {"UnclosedBracketIsNoSection", raw("[S]\r\n[T\r\nKey=1\r\n"), "S", "Key", "1"},
    {"TextAfterHeaderIgnored", raw("[HELP]    HELP    HELP\r\nKey=1\r\n"), "HELP", "Key", "1"},
    {"KeysBeforeAnySectionNotFound", raw("Key=1\r\n[S]\r\n"), "S", "Key", fallback},
    // Line ends
    {"CrLfLines", raw("[S]\r\nA=1\r\nKey=2\r\n"), "S", "Key", "2"},
    {"LfLines", raw("[S]\nA=1\nKey=2\n"), "S", "Key", "2"},
    {"CrOnlyLines", raw("[S]\rA=1\rKey=2\r"), "S", "Key", "2"},
    {"MixedLineEnds", raw("[T]\rKey=1\n[S]\r\nA=1\rKey=2"), "S", "Key", "2"},
    {"LfCrIsTwoLineEnds", raw("[S]\n\rKey=2\n\r"), "S", "Key", "2"},
    // Which match wins
    {"FirstKeyWins", raw("[S]\r\nKey=1\r\nkey=2\r\n"), "S", "Key", "1"},
    {"SameKeyInOtherSectionIgnored", raw("[T]\r\nKey=1\r\n[S]\r\nA=2\r\n"), "S", "Key", fallback},
    {"SectionAppearingTwiceCountsBoth", raw("[S]\r\nA=1\r\n[T]\r\nKey=9\r\n[s]\r\nKey=2\r\n"), "S",
     "Key", "2"},
    {"EarlierAppearanceWins", raw("[S]\r\nKey=1\r\n[S]\r\nKey=2\r\n"), "S", "Key", "1"},
    // Missing things
    {"MissingSection", raw("[S]\r\nKey=1\r\n"), "T", "Key", fallback},
    {"MissingKey", raw("[S]\r\nKey=1\r\n"), "S", "Other", fallback},
    {"EmptyFile", raw(""), "S", "Key", fallback},
    // Encodings
    {"Utf8", raw("[S]\r\nKey=\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC \xF0\x9F\x98\x80\r\n"), "S", "Key",
     "\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC \xF0\x9F\x98\x80"},
    {"Utf8ByteOrderMarkSkipped", raw("\xEF\xBB\xBF[S]\r\nKey=\xC3\xA9\r\n"), "S", "Key",
     "\xC3\xA9"},
    {"Windows1252", raw("[S]\r\nKey=\x95 \xAB\xBB \xE9\x80\r\n"), "S", "Key",
     "\xE2\x80\xA2 \xC2\xAB\xC2\xBB \xC3\xA9\xE2\x82\xAC"},
    // One invalid sequence anywhere makes the whole file Windows-1252.
    {"InvalidUtf8ElsewhereMeansWindows1252", raw("[S]\r\nKey=\xC3\xA9\r\nB=\xE9\r\n"), "S", "Key",
     "\xC3\x83\xC2\xA9"},
    {"OverlongUtf8IsWindows1252", raw("[S]\r\nKey=\xC0\xAF\r\n"), "S", "Key", "\xC3\x80\xC2\xAF"},
    {"EncodedSurrogateIsWindows1252", raw("[S]\r\nKey=\xED\xA0\x80\r\n"), "S", "Key",
     "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
    // Robustness
    {"NulBytesAfterHeaderIgnored", raw("[S]\0junk\r\nKey=1\r\n"), "S", "Key", "1"},
    {"NulByteInOtherKeyHarmless", raw("[S]\r\nA\0=1\r\nKey=2\r\n"), "S", "Key", "2"},
};

INSTANTIATE_TEST_SUITE_P(Rules, IniReadRule, ::testing::ValuesIn(readCases),
                         [](const auto& info) { return std::string(info.param.name); });

using IniRead = filetest::TempDirTest;

TEST_F(IniRead, CutsValuesTo254Characters) {
    const QString file = path("long.ini");
    const QByteArray x300(300, 'x');
    const QByteArray e300 = QString(300, QChar(0xE9)).toUtf8();
    // 253 characters, then a pair of surrogates that the cut would split.
    const QByteArray emojiAtCut = QByteArray(253, 'y') + "\xF0\x9F\x98\x80" + "zz";
    filetest::writeBytes(file, "[S]\r\nPlain=" + x300 + "\r\nQuoted=\"" + x300 +
                                   "\"\r\nUtf8=" + e300 + "\r\nEmoji=" + emojiAtCut +
                                   "\r\nExact=" + QByteArray(254, 'w') + "\r\n");
    IniProfileFile profile;
    EXPECT_EQ(profile.readString("S", "Plain", fallback, file), QString(254, u'x'));
    EXPECT_EQ(profile.readString("S", "Quoted", fallback, file), QString(254, u'x'));
    EXPECT_EQ(profile.readString("S", "Utf8", fallback, file), QString(254, QChar(0xE9)));
    EXPECT_EQ(profile.readString("S", "Emoji", fallback, file), QString(253, u'y'));
    EXPECT_EQ(profile.readString("S", "Exact", fallback, file), QString(254, u'w'));

    filetest::writeBytes(file, "[S]\r\nPlain=\xE9" + x300 + "\r\n"); // Windows-1252
    EXPECT_EQ(profile.readString("S", "Plain", fallback, file), QChar(0xE9) + QString(253, u'x'));
}

TEST_F(IniRead, GivesTheDefaultForWhatIsNoReadableFile) {
    IniProfileFile profile;
    EXPECT_EQ(profile.readString("S", "Key", fallback, path("missing.ini")), fallback);
    EXPECT_EQ(profile.readString("S", "Key", fallback, path("no/such/dir.ini")), fallback);
    EXPECT_EQ(profile.readString("S", "Key", fallback, ""), fallback);
    EXPECT_EQ(profile.readString("S", "Key", fallback, dirPath()), fallback);
    // A FIFO would block a reader that opened it plainly.
    const QString fifo = path("fifo.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(profile.readString("S", "Key", fallback, fifo), fallback);
}

TEST_F(IniRead, SeesEveryChangeOfTheFile) {
    const QString file = path("changing.ini");
    IniProfileFile profile;
    // Same size, written within the same clock tick: a cache keyed on size and times would miss it.
    for (const char* value : {"1", "2", "3"}) {
        filetest::writeBytes(file, QByteArray("[S]\r\nKey=") + value + "\r\n");
        EXPECT_EQ(profile.readString("S", "Key", fallback, file).toStdString(), value);
    }
}

using IniReadRobustness = filetest::TempDirTest;

TEST_F(IniReadRobustness, ReadsA50MegabyteFileQuickly) {
    QByteArray bytes;
    bytes.reserve(51 << 20);
    for (int section = 0; bytes.size() < (50 << 20); ++section) {
        bytes += "[Section" + QByteArray::number(section) + "]\r\n; a comment line\r\n";
        for (int key = 0; key < 100; ++key) {
            bytes += "  Key" + QByteArray::number(key) + " = \"value number " +
                     QByteArray::number(key) + "\"\r\n";
        }
    }
    // Found only at the very end, and not ASCII, so the encoding must be decided too.
    bytes += "[Last]\r\nKey=\xC3\xA9t\xC3\xA9\r\n";
    const QString file = path("huge.ini");
    filetest::writeBytes(file, bytes);

    IniProfileFile profile;
    QElapsedTimer timer;
    timer.start();
    const QString last = profile.readString("last", "key", fallback, file);
    const qint64 lastMs = timer.restart();
    const QString missing = profile.readString("Nowhere", "Key", fallback, file);
    const qint64 missingMs = timer.elapsed();
    std::cout << "[ TIMING   ] " << bytes.size() / (1 << 20) << " MB: last key " << lastMs
              << " ms, missing section " << missingMs << " ms\n";
    EXPECT_EQ(last, QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
    EXPECT_EQ(missing, fallback);
    EXPECT_EQ(profile.readString("Section7", "Key99", fallback, file), "value number 99");
    // Linear work takes a fraction of this; anything quadratic would take hours.
    EXPECT_LT(lastMs, 3000);
    EXPECT_LT(missingMs, 3000);
}

TEST_F(IniReadRobustness, CopesWithLongLinesAndOddLineEnds) {
    const QString file = path("odd.ini");
    IniProfileFile profile;
    const QByteArray megabyte(1 << 20, 'x');
    filetest::writeBytes(file, "[S]\r\n" + megabyte + "\r\nLong=" + megabyte + "\r\n" +
                                   QByteArray(1 << 20, ' ') + "\r\n[" + megabyte + "\r\nKey=1\r\n");
    EXPECT_EQ(profile.readString("S", "Long", fallback, file), QString(254, u'x'));
    EXPECT_EQ(profile.readString("S", "Key", fallback, file), "1");

    // Millions of CR-only lines, then the key: each line end must be found without rescanning.
    filetest::writeBytes(file, QByteArray(8 << 20, '\r') + "[S]\rKey=2\r");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(profile.readString("S", "Key", fallback, file), "2");
    EXPECT_LT(timer.elapsed(), 3000);
}

TEST_F(IniReadRobustness, SurvivesBinaryFiles) {
    const QString file = path("binary.ini");
    IniProfileFile profile;
    QRandomGenerator random(20240601); // fixed, so a failure can be repeated
    QByteArray noise(4 << 20, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    filetest::writeBytes(file, noise);
    EXPECT_EQ(profile.readString("S", "Key", fallback, file), fallback);

    filetest::writeBytes(file, noise + "\n[S]\nKey=found\n");
    EXPECT_EQ(profile.readString("S", "Key", fallback, file), "found");

    filetest::writeBytes(file, QByteArray(1 << 20, '\0') + raw("\n[S]\nKey=a\0b\n"));
    EXPECT_EQ(profile.readString("S", "Key", fallback, file), QString::fromLatin1("a\0b", 3));
}

} // namespace
