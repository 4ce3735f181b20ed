#include "LinuxFileSystem.h"

#include "FileUpdateLock.h"
#include "UserConfigFolder.h"
#include "platform/linux/shared/AtomicReplace.h"

#include <QFile>

#include <sys/stat.h>

bool LinuxFileSystem::isFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    return !name.isEmpty() && ::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool LinuxFileSystem::writeFile(const QString& path, const QByteArray& bytes) {
    UserConfigFolder::createFor(path);
    const FileUpdateLock lock(path);
    return lock.acquired() && AtomicReplace::replaceFile(path, bytes).replaced;
}
