#include "FileTestSupport.h"
#include "platform/linux/settings/IniProfileFile.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace {

using filetest::shown;

template <std::size_t N> QByteArray raw(const char (&bytes)[N]) {
    return QByteArray(bytes, N - 1);
}

struct WriteCase {
    const char* name;
    QByteArray before;
    const char* section;
    const char* key;
    const char* value; // UTF-8
    QByteArray after;
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << c.name;
}

class IniWriteRule : public filetest::TempDirTest,
                     public ::testing::WithParamInterface<WriteCase> {};

TEST_P(IniWriteRule, ChangesOnlyTheKeysLine) {
    const WriteCase& c = GetParam();
    const QString file = path("settings.ini");
    filetest::writeBytes(file, c.before);
    IniProfileFile profile;
    ASSERT_TRUE(profile.writeString(c.section, c.key, QString::fromUtf8(c.value), file));
    EXPECT_EQ(shown(filetest::readBytes(file)), shown(c.after));
}

const WriteCase writeCases[] = {
    // Replacing
    {"ReplacesTheLineKeepingItsCrLf", raw("[S]\r\n  Key = old \r\nB=2\n"), "S", "Key", "new",
     raw("[S]\r\nKey=new\r\nB=2\n")},
    {"ReplacesTheLineKeepingItsLf", raw("[S]\r\nKey=old\nB=2\r\n"), "S", "Key", "new",
     raw("[S]\r\nKey=new\nB=2\r\n")},
    {"ReplacesACrOnlyLine", raw("[S]\rKey=old\rB=2\r"), "S", "Key", "new",
     raw("[S]\rKey=new\rB=2\r")},
    {"ReplacesAnUnterminatedLastLine", raw("[S]\r\nKey=old"), "S", "Key", "new",
     raw("[S]\r\nKey=new")},
    {"KeySpelledAsTheCallerGivesIt", raw("[settings]\r\nstartset=1\r\n"), "Settings", "StartSet",
     "2", raw("[settings]\r\nStartSet=2\r\n")},
    {"ReplacesTheFirstMatchOnly", raw("[S]\r\nKey=1\r\nKey=2\r\n"), "S", "Key", "3",
     raw("[S]\r\nKey=3\r\nKey=2\r\n")},
    {"ReplacesInTheSecondAppearanceOfTheSection",
     raw("[S]\r\nA=1\r\n[T]\r\nKey=1\r\n[S]\r\nKey=2\r\n"), "S", "Key", "3",
     raw("[S]\r\nA=1\r\n[T]\r\nKey=1\r\n[S]\r\nKey=3\r\n")},
    {"CommentedKeyStays", raw("[S]\r\n;Key=1\r\nA=1\r\n"), "S", "Key", "2",
     raw("[S]\r\n;Key=1\r\nA=1\r\nKey=2\r\n")},
    {"ValueWrittenAsGiven", raw("[S]\r\nKey=1\r\n"), "S", "Key", " \"a\" ",
     raw("[S]\r\nKey= \"a\" \r\n")},
    {"EmptyValue", raw("[S]\r\nKey=1\r\n"), "S", "Key", "", raw("[S]\r\nKey=\r\n")},
    {"LineBreaksInTheValueBecomeBlanks", raw("[S]\r\nKey=1\r\n"), "S", "Key", "a\r\nb\nc\rd",
     raw("[S]\r\nKey=a  b c d\r\n")},
    // A new key
    {"NewKeyAfterTheLastKeyLineOfItsSection", raw("[S]\r\nA=1\r\n\r\n; about T\r\n[T]\r\nX=1\r\n"),
     "S", "Key", "2", raw("[S]\r\nA=1\r\nKey=2\r\n\r\n; about T\r\n[T]\r\nX=1\r\n")},
    {"NewKeyAfterTheHeaderOfASectionWithoutKeys", raw("[S]\r\n; note\r\n[T]\r\n"), "S", "Key", "2",
     raw("[S]\r\nKey=2\r\n; note\r\n[T]\r\n")},
    {"NewKeyTakesTheLineEndOfTheLineBefore", raw("[S]\r\nA=1\n[T]\r\n"), "S", "Key", "2",
     raw("[S]\r\nA=1\nKey=2\n[T]\r\n")},
    {"NewKeyAfterAnUnterminatedLastLine", raw("[S]\nX=1\n[T]\r\nA=1"), "t", "Key", "2",
     raw("[S]\nX=1\n[T]\r\nA=1\nKey=2")},
    {"NewKeyInTheFirstAppearanceOfTheSection", raw("[S]\r\nA=1\r\n[T]\r\n[S]\r\nB=1\r\n"), "S",
     "Key", "2", raw("[S]\r\nA=1\r\nKey=2\r\n[T]\r\n[S]\r\nB=1\r\n")},
    {"KeysOfOtherSectionsDoNotMatch", raw("[T]\r\nKey=1\r\n[S]\r\n"), "S", "Key", "2",
     raw("[T]\r\nKey=1\r\n[S]\r\nKey=2\r\n")},
    // A new section
    {"MissingSectionAppended", raw("[S]\r\nA=1\r\n"), "T", "Key", "2",
     raw("[S]\r\nA=1\r\n[T]\r\nKey=2\r\n")},
    {"MissingSectionAfterAnUnterminatedLine", raw("[S]\r\nA=1"), "T", "Key", "2",
     raw("[S]\r\nA=1\r\n[T]\r\nKey=2\r\n")},
    {"MissingSectionUsesTheCommonestLineEnd", raw("[S]\nA=1\nB=1\r\nC=1"), "T", "Key", "2",
     raw("[S]\nA=1\nB=1\r\nC=1\n[T]\nKey=2\n")},
    {"MissingSectionInACrOnlyFile", raw("[S]\rA=1\r"), "T", "Key", "2",
     raw("[S]\rA=1\r[T]\rKey=2\r")},
    {"EmptyFileGetsSectionAndKey", raw(""), "S", "Key", "1", raw("[S]\r\nKey=1\r\n")},
    {"ByteOrderMarkStaysFirst", raw("\xEF\xBB\xBF"), "S", "Key", "1",
     raw("\xEF\xBB\xBF[S]\r\nKey=1\r\n")},
    // Encodings
    {"Utf8FileStaysUtf8", raw("[S]\r\nA=\xC3\xA9\r\nKey=1\r\n"), "S", "Key", "\xC3\xBC",
     raw("[S]\r\nA=\xC3\xA9\r\nKey=\xC3\xBC\r\n")},
    {"Utf8FileWithByteOrderMarkStaysUtf8", raw("\xEF\xBB\xBF[S]\r\nKey=1\r\n"), "S", "Key",
     "\xC3\xA9", raw("\xEF\xBB\xBF[S]\r\nKey=\xC3\xA9\r\n")},
    {"Windows1252FileStaysWindows1252", raw("[S]\r\nA=\xE9\r\nKey=1\r\n"), "S", "Key",
     "\xC3\xBC\xE2\x80\xA2", raw("[S]\r\nA=\xE9\r\nKey=\xFC\x95\r\n")},
    {"AsciiFileTakesWindows1252", raw("[S]\r\nKey=1\r\n"), "S", "Key", "caf\xC3\xA9",
     raw("[S]\r\nKey=caf\xE9\r\n")},
    {"Windows1252FileGoesUtf8ForOtherCharacters", raw("[S]\r\nA=\x95 \xAB\xBB\r\nKey=1\r\n"), "S",
     "Key", "\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC \xF0\x9F\x98\x80",
     raw("[S]\r\nA=\xE2\x80\xA2 \xC2\xAB\xC2\xBB\r\n"
         "Key=\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC \xF0\x9F\x98\x80\r\n")},
    {"NonAsciiSectionAndKeyAreEncodedToo", raw("[S]\r\nA=\xE9\r\n"), "\xC3\x84", "\xC3\x96", "1",
     raw("[S]\r\nA=\xE9\r\n[\xC4]\r\n\xD6=1\r\n")},
    // Code-page bytes that form valid UTF-8 would be read back as UTF-8 and change meaning.
    {"CodePageBytesThatLookLikeUtf8GoUtf8", raw("[S]\r\nKey=1\r\n"), "S", "Key", "\xC3\x83\xC2\xA9",
     raw("[S]\r\nKey=\xC3\x83\xC2\xA9\r\n")},
    {"RemovingTheOnlyInvalidByteKeepsTheMeaning", raw("[S]\r\nA=\xC3\xA9\r\nKey=\xE9\r\n"), "S",
     "Key", "plain", raw("[S]\r\nA=\xC3\x83\xC2\xA9\r\nKey=plain\r\n")},
};

INSTANTIATE_TEST_SUITE_P(Rules, IniWriteRule, ::testing::ValuesIn(writeCases),
                         [](const auto& info) { return std::string(info.param.name); });

using IniWrite = filetest::TempDirTest;

// A hand-written file: everything but the three keys written must survive byte for byte.
TEST_F(IniWrite, KeepsEveryOtherByteOfAnAnnotatedFile) {
    const QByteArray before = raw("; Pingolet settings \xAB"
                                  "edited by hand\xBB\r\n"
                                  "\r\n"
                                  "[Settings]   ; the main section\r\n"
                                  "  StartSet   =   \"5m\"  \r\n"
                                  "\tDropDead\t=\t10m\r\n"
                                  "  ; Message=commented out\r\n"
                                  "Message = Tea \x95 ready\r\n"
                                  "\r\n"
                                  "   \r\n"
                                  "[HELP]    HELP    HELP\r\n"
                                  "This line has no equals sign.\r\n"
                                  "Old Mac line\rAnother\rKeyInHelp=1\r"
                                  "\r\n"
                                  "; trailing comment without line end");
    const QByteArray after = raw("; Pingolet settings \xAB"
                                 "edited by hand\xBB\r\n"
                                 "\r\n"
                                 "[Settings]   ; the main section\r\n"
                                 "StartSet=7m\r\n"
                                 "\tDropDead\t=\t10m\r\n"
                                 "  ; Message=commented out\r\n"
                                 "Message = Tea \x95 ready\r\n"
                                 "Beep=caf\xE9\r\n"
                                 "\r\n"
                                 "   \r\n"
                                 "[HELP]    HELP    HELP\r\n"
                                 "This line has no equals sign.\r\n"
                                 "Old Mac line\rAnother\rKeyInHelp=2\r"
                                 "\r\n"
                                 "; trailing comment without line end\r\n"
                                 "[Extra]\r\n"
                                 "New=1\r\n");
    const QString file = path("annotated.ini");
    filetest::writeBytes(file, before);
    IniProfileFile profile;
    ASSERT_TRUE(profile.writeString("settings", "StartSet", "7m", file));
    ASSERT_TRUE(profile.writeString("Settings", "Beep", QString::fromUtf8("caf\xC3\xA9"), file));
    ASSERT_TRUE(profile.writeString("help", "KeyInHelp", "2", file));
    ASSERT_TRUE(profile.writeString("Extra", "New", "1", file));
    EXPECT_EQ(shown(filetest::readBytes(file)), shown(after));
    EXPECT_EQ(profile.readString("Settings", "Message", "", file).toStdString(),
              "Tea \xE2\x80\xA2 ready");
}

TEST_F(IniWrite, WhatIsWrittenReadsBack) {
    const QString file = path("roundtrip.ini");
    IniProfileFile profile;
    const QString values[] = {
        "plain",
        "",
        QString::fromUtf8("\xC3\xA9\xE2\x82\xAC"),
        QString::fromUtf8("\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC \xF0\x9F\x98\x80"),
        "a = b ; c",
        "[not a section]",
        QChar(0xFEFF) + QString("starts with a zero-width no-break space")};
    for (const QString& value : values) {
        ASSERT_TRUE(profile.writeString("S", "Key", value, file));
        ASSERT_TRUE(profile.writeString("S", "Other", "x", file));
        EXPECT_EQ(profile.readString("S", "Key", "<default>", file).toStdString(),
                  value.toStdString());
    }
    // The file holds one line per key whatever was written.
    EXPECT_EQ(filetest::readBytes(file).count("\r\n"), 3);
}

TEST_F(IniWrite, CreatesAMissingFile) {
    IniProfileFile profile;
    const QString file = path("new.ini");
    ASSERT_TRUE(profile.writeString("S", "Key", QString::fromUtf8("caf\xC3\xA9"), file));
    EXPECT_EQ(shown(filetest::readBytes(file)), shown("[S]\r\nKey=caf\xE9\r\n"));

    const QString utf8 = path("new-utf8.ini");
    ASSERT_TRUE(profile.writeString("S", "Key", QString::fromUtf8("\xF0\x9F\x98\x80"), utf8));
    EXPECT_EQ(shown(filetest::readBytes(utf8)), shown("[S]\r\nKey=\xF0\x9F\x98\x80\r\n"));
}

TEST_F(IniWrite, RefusesNamesThatCouldNotBeFoundAgain) {
    IniProfileFile profile;
    const QString file = path("names.ini");
    const QByteArray before = "[S]\r\nKey=1\r\n";
    filetest::writeBytes(file, before);
    EXPECT_FALSE(profile.writeString("a]b", "Key", "2", file));
    EXPECT_FALSE(profile.writeString("a\nb", "Key", "2", file));
    EXPECT_FALSE(profile.writeString(" S", "Key", "2", file));
    EXPECT_FALSE(profile.writeString("S", "a=b", "2", file));
    EXPECT_FALSE(profile.writeString("S", "a\r\nb", "2", file));
    EXPECT_FALSE(profile.writeString("S", "Key ", "2", file));
    EXPECT_FALSE(profile.writeString("S", ";Key", "2", file));
    EXPECT_FALSE(profile.writeString("S", "[Key", "2", file));
    EXPECT_EQ(shown(filetest::readBytes(file)), shown(before));
    EXPECT_FALSE(profile.writeString("S", "a=b", "2", path("never.ini")));
    EXPECT_FALSE(QFileInfo::exists(path("never.ini")));
}

// The atomic replacement itself is tested with LinuxFileSystem; here only that the profile
// writer goes through it.
TEST_F(IniWrite, ReplacesTheFileLikeAnySave) {
    IniProfileFile profile;
    const QString target = path("target.ini");
    const QString link = path("link.ini");
    filetest::writeBytes(target, "[S]\r\nKey=1\r\n");
    ASSERT_TRUE(QFile::link("target.ini", link));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    ASSERT_TRUE(profile.writeString("S", "Key", "2", link));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(shown(filetest::readBytes(target)), shown("[S]\r\nKey=2\r\n"));
    EXPECT_EQ(filetest::modeOf(target), 0640u);

    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0440), 0);
    EXPECT_FALSE(profile.writeString("S", "Key", "3", target));
    EXPECT_EQ(shown(filetest::readBytes(target)), shown("[S]\r\nKey=2\r\n"));
    EXPECT_FALSE(profile.writeString("S", "Key", "3", dirPath()));
    EXPECT_EQ(filetest::entries(dirPath()), QStringList({"link.ini", "target.ini"}));
}

} // namespace
