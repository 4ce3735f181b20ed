#include "IniProfileFile.h"

#include "FileUpdateLock.h"
#include "IniDocument.h"
#include "UserConfigFolder.h"
#include "platform/linux/shared/AtomicReplace.h"

#include <QFile>
#include <QFileInfo>

namespace {

enum class ReadStatus { Read, Missing, Failed };

struct FileBytes {
    ReadStatus status = ReadStatus::Failed;
    QByteArray bytes;
};

// The whole file, read only when it is a regular file (a FIFO or a device could block or never
// end) of a size a settings file can have.
FileBytes readWholeFile(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        return {path.isEmpty() ? ReadStatus::Failed : ReadStatus::Missing, {}};
    }
    QFile file(path);
    if (!info.isFile() || info.size() > IniProfileFile::maxFileSize ||
        !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    // The size is a hint: the file may have grown since.
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > IniProfileFile::maxFileSize) {
        return {};
    }
    return {ReadStatus::Read, std::move(bytes)};
}

} // namespace

QString IniProfileFile::readString(const QString& section, const QString& key,
                                   const QString& defaultValue, const QString& path) {
    const FileBytes file = readWholeFile(path);
    if (file.status != ReadStatus::Read) {
        return defaultValue;
    }
    return IniDocument(file.bytes).value(section, key).value_or(defaultValue);
}

bool IniProfileFile::writeString(const QString& section, const QString& key, const QString& value,
                                 const QString& path) {
    UserConfigFolder::createFor(path);
    const FileUpdateLock lock(path);
    if (!lock.acquired()) {
        return false;
    }
    const FileBytes file = readWholeFile(path);
    if (file.status == ReadStatus::Failed) {
        return false;
    }
    IniDocument document(file.bytes);
    return document.setValue(section, key, value) &&
           AtomicReplace::replaceFile(path, document.bytes()).replaced;
}
