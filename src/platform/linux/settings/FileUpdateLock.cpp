#include "FileUpdateLock.h"

#include "platform/linux/shared/AtomicReplace.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace {
// A save holds the lock for milliseconds; an older lock whose owner still seems alive (a
// reused process id) is taken over.
constexpr int staleMs = 10000;
// QLockFile's own waiting starts at 100 ms a try; a save should not stall the window that long.
constexpr int retryMs = 5;
} // namespace

FileUpdateLock::FileUpdateLock(const QString& path) {
    const auto target = AtomicReplace::resolveLinks(path);
    if (!target || target->isEmpty() || target->endsWith(u'/'))
        return;
    const QFileInfo file(*target);
    lock_ = std::make_unique<QLockFile>(file.path() + QStringLiteral("/.") +
                                        file.fileName().left(200) + QStringLiteral(".lock"));
    lock_->setStaleLockTime(staleMs);

    const QDeadlineTimer deadline(waitMs);
    while (!(acquired_ = lock_->tryLock(0))) {
        // A folder that cannot take the lock file cannot take the new settings file either.
        if (lock_->error() != QLockFile::LockFailedError || deadline.hasExpired())
            return;
        QThread::msleep(retryMs);
    }
}
