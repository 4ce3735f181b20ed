#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace filetest {

// The whole file; empty when it cannot be read (tests check existence separately).
inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Every name in the directory, hidden ones too, so a left-over temporary file shows.
inline QStringList entries(const QString& directory) {
    QStringList names = QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                  QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

// The permission bits, from the file itself (a link is followed).
inline unsigned modeOf(const QString& path) {
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A fresh temporary directory with a helper for paths in it.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString dirPath() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// Bytes as readable text for comparisons, so that a failure shows where two files differ: CR, LF
// and bytes outside printable ASCII appear as escapes, and each line end starts a new line.
inline std::string shown(const QByteArray& bytes) {
    static const char hex[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\r') {
            text += "\\r";
        } else if (b == '\n') {
            text += "\\n\n";
        } else if (b < 0x20 || b >= 0x7F || b == '\\') {
            text += "\\x";
            text += hex[b >> 4];
            text += hex[b & 15];
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace filetest
