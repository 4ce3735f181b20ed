#include "platform/linux/shared/AtomicReplace.h"

#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace AtomicReplace {

namespace {

bool hasWriteBit(const QFileInfo& info) {
    return info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
}

Outcome failed(const QString& why) {
    return {false, why};
}

} // namespace

std::optional<QString> resolveLinks(const QString& path) {
    QFileInfo info(path);
    for (int hop = 0; hop < 40; ++hop) {
        if (!info.isSymLink())
            return info.filePath();
        const QString target = info.symLinkTarget();
        if (target.isEmpty())
            return std::nullopt;
        info.setFile(target);
    }
    return std::nullopt;
}

Outcome replaceFile(const QString& path, QByteArrayView bytes) {
    // QSaveFile follows the links itself; the checks below are about the file it replaces.
    const std::optional<QString> target = resolveLinks(path);
    if (!target || target->isEmpty())
        return failed(QStringLiteral("its symbolic links loop or cannot be read"));
    const QFileInfo file(*target);
    const QFileInfo folder(file.absolutePath());
    if (file.exists() && !file.isFile())
        return failed(QStringLiteral("it is not a regular file"));
    if (!folder.isDir())
        return failed(QStringLiteral("its folder does not exist"));
    if ((file.exists() && !hasWriteBit(file)) || !hasWriteBit(folder))
        return failed(QStringLiteral("it is read-only"));

    const bool existed = file.exists();
    const uint owner = file.ownerId(), group = file.groupId();
    QSaveFile save(*target);
    if (!save.open(QIODevice::WriteOnly) ||
        save.write(bytes.data(), bytes.size()) != bytes.size() || !save.commit())
        return failed(save.errorString());
    // Only root may give the file back to its owner; anyone else owns what they save.
    if (existed && ::geteuid() == 0 && (owner != ::geteuid() || group != ::getegid())) {
        [[maybe_unused]] const int ignored =
            ::chown(QFile::encodeName(*target).constData(), owner, group);
    }
    return {true, {}};
}

} // namespace AtomicReplace
