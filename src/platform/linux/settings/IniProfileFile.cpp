#include "IniProfileFile.h"

#include "AtomicReplace.h"
#include "FileUpdateLock.h"
#include "IniDocument.h"
#include "UserConfigFolder.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class ReadStatus { Read, Missing, Failed };

struct FileBytes {
    ReadStatus status = ReadStatus::Failed;
    QByteArray bytes;
};

// The whole file, read only when it is a regular file (a FIFO or a device could block or never
// end).
FileBytes readWholeFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) {
        return {};
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return {errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed, {}};
    }
    FileBytes result;
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_size <= IniProfileFile::maxFileSize) {
        // The size is a hint: the file may change while it is read.
        QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
        qsizetype used = 0;
        bool ok = true;
        for (;;) {
            if (used == bytes.size()) {
                if (used > IniProfileFile::maxFileSize) {
                    ok = false;
                    break;
                }
                bytes.resize(std::min<qint64>(used * 2 + 4096, IniProfileFile::maxFileSize + 1));
            }
            const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                ok = got == 0;
                break;
            }
            used += got;
        }
        if (ok) {
            bytes.truncate(used);
            result = {ReadStatus::Read, std::move(bytes)};
        }
    }
    ::close(fd);
    return result;
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
           AtomicReplace::replaceFile(path, document.bytes());
}
