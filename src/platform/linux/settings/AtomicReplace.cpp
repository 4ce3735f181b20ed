#include "AtomicReplace.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicReplace {

namespace {

constexpr mode_t anyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return ".";
    }
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

bool writeAll(int fd, QByteArrayView bytes) {
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(std::min<qsizetype>(left, 1 << 30)));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// The new file beside the target; removed again unless it was renamed into place.
class TemporaryFile {
public:
    TemporaryFile(const QByteArray& directory, const QByteArray& name) {
        // A hidden name, short enough for the file system even when the target's name is long.
        const QByteArray stem = directory + "/." + name.left(200) + '.';
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            path_ =
                stem + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
            // 0666 lets the umask decide for a new file; an existing file's mode is copied later.
            fd_ = ::open(path_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST) {
                break;
            }
        }
        created_ = fd_ >= 0;
    }
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (created_ && !renamed_) {
            ::unlink(path_.constData());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    // Closing reports write errors that only show at the end (NFS, a full quota).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    bool renameTo(const QByteArray& target) {
        renamed_ = ::rename(path_.constData(), target.constData()) == 0;
        return renamed_;
    }

private:
    QByteArray path_;
    int fd_ = -1;
    bool created_ = false;
    bool renamed_ = false;
};

bool writableDirectory(const QByteArray& directory) {
    struct stat info;
    return ::stat(directory.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           (info.st_mode & anyWriteBit) != 0 && ::access(directory.constData(), W_OK | X_OK) == 0;
}

// Makes the rename itself survive a crash; a failure here no longer endangers the file.
void syncDirectory(const QByteArray& directory) {
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::optional<QByteArray> resolveLinks(QByteArray path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (::lstat(path.constData(), &info) != 0) {
            return errno == ENOENT ? std::optional(path) : std::nullopt;
        }
        if (!S_ISLNK(info.st_mode)) {
            return path;
        }
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (length <= 0 || length >= target.size()) {
            return std::nullopt;
        }
        target.truncate(length);
        path = target.startsWith('/') ? target : directoryOf(path) + '/' + target;
    }
    return std::nullopt;
}

bool replaceFile(const QString& path, QByteArrayView bytes) {
    const std::optional<QByteArray> target = resolveLinks(QFile::encodeName(path));
    if (!target || target->isEmpty() || target->endsWith('/')) {
        return false;
    }
    const QByteArray directory = directoryOf(*target);
    const QByteArray name = target->mid(target->lastIndexOf('/') + 1);
    if (name == "." || name == ".." || !writableDirectory(directory)) {
        return false;
    }

    struct stat old;
    const bool exists = ::stat(target->constData(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & anyWriteBit) == 0 ||
                   ::access(target->constData(), W_OK) != 0)) {
        return false;
    }

    TemporaryFile file(directory, name);
    if (file.fd() < 0) {
        return false;
    }
    if (exists) {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            // Only root may give the file back to its owner; anyone else ends up owning it.
            [[maybe_unused]] const int ignored = ::fchown(file.fd(), old.st_uid, old.st_gid);
        }
        if (::fchmod(file.fd(), old.st_mode & 07777) != 0) {
            return false;
        }
    }
    if (!writeAll(file.fd(), bytes) || ::fsync(file.fd()) != 0 || !file.close() ||
        !file.renameTo(*target)) {
        return false;
    }
    syncDirectory(directory);
    return true;
}

} // namespace AtomicReplace
