#include "FileAlarmStore.h"

#include "AutostartEntry.h"
#include "UserStateFolder.h"
#include "platform/ErrorNote.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString RecordSuffix = QStringLiteral(".json");
const QString LockSuffix = QStringLiteral(".lock");
// A record is a few hundred bytes; anything this large is not one.
constexpr qint64 LargestRecord = 1 << 20;

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// An open file description lock on the whole file: it belongs to the descriptor, not to the
// process, and goes when the last descriptor of it is closed or the process dies.
flock wholeFile(short type) {
    flock lock{};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

// The folder lock serialises a change of the records with the autostart entry that follows them.
class FolderLock {
public:
    explicit FolderLock(const QString& folder) {
        fd_ = ::open(encoded(folder + QStringLiteral(".lock")).constData(),
                     O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        flock lock = wholeFile(F_WRLCK);
        while (fd_ >= 0 && ::fcntl(fd_, F_OFD_SETLKW, &lock) < 0 && errno == EINTR) {
        }
    }
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

// This executable's own path, as the autostart entry must run it.
QString ownProgram() {
    QString path = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const QString replaced = QStringLiteral(" (deleted)"); // upgraded while running
    if (path.endsWith(replaced))
        path.chop(replaced.size());
    return path;
}
} // namespace

FileAlarmStore::FileAlarmStore(QString folder, QString autostartEntry, QString program)
    : folder_(std::move(folder)), autostartEntry_(std::move(autostartEntry)),
      program_(std::move(program)) {
    if (!folder_.endsWith(u'/'))
        folder_ += u'/';
}

FileAlarmStore FileAlarmStore::forUser() {
    return FileAlarmStore(UserStateFolder::path(),
                          UserStateFolder::autostartFolder() + AutostartEntry::fileName(),
                          ownProgram());
}

FileAlarmStore::FileAlarmStore(FileAlarmStore&& other) noexcept
    : folder_(std::move(other.folder_)), autostartEntry_(std::move(other.autostartEntry_)),
      program_(std::move(other.program_)), held_(std::move(other.held_)),
      reported_(other.reported_) {
    other.held_.clear();
}

FileAlarmStore::~FileAlarmStore() {
    for (const auto& [id, fd] : held_)
        ::close(fd);
}

QString FileAlarmStore::recordPath(const QString& id) const {
    return folder_ + id + RecordSuffix;
}

QString FileAlarmStore::lockPath(const QString& id) const {
    return folder_ + id + LockSuffix;
}

bool FileAlarmStore::hold(const QString& id) {
    if (held_.count(id))
        return true;
    if (!QFileInfo::exists(folder_)) { // the user's alarms are theirs alone
        if (!QDir().mkpath(folder_))
            return false;
        ::chmod(encoded(folder_).constData(), 0700);
    }
    const QByteArray path = encoded(lockPath(id));
    for (int attempt = 0; attempt < 3; ++attempt) {
        // Close-on-exec: a program the alarm starts must not inherit the hold and outlive it.
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        flock lock = wholeFile(F_WRLCK);
        if (::fcntl(fd, F_OFD_SETLK, &lock) < 0) {
            ::close(fd);
            return false;
        }
        // A holder that was just removing the file leaves this one unlinked: take the new one.
        struct stat opened {
        }, named{};
        if (::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
            opened.st_ino == named.st_ino && opened.st_dev == named.st_dev) {
            // Who holds it, for a list of the alarms; the lock itself is what counts.
            const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
            if (::ftruncate(fd, 0) == 0)
                (void)!::pwrite(fd, pid.constData(), size_t(pid.size()), 0);
            held_[id] = fd;
            return true;
        }
        ::close(fd);
    }
    return false;
}

qint64 FileAlarmStore::holder(const QString& id) const {
    const int fd = ::open(encoded(lockPath(id)).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    flock lock = wholeFile(F_WRLCK);
    qint64 pid = 0;
    if (::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK) {
        char text[32] = {};
        const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
        pid = n > 0 ? std::max<qint64>(QByteArray(text, n).trimmed().toLongLong(), 1) : 1;
    }
    ::close(fd);
    return pid;
}

bool FileAlarmStore::save(const QString& id, const QByteArray& text) {
    if (!hold(id)) {
        report(QStringLiteral("cannot make or lock ") + lockPath(id),
               QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const FolderLock folderLock(folder_);
    if (const auto written = AtomicReplace::replaceFile(recordPath(id), text); !written) {
        report(QStringLiteral("cannot write ") + recordPath(id), written.error);
        return false;
    }
    if (const auto written = writeAutostartEntry(); !written) {
        report(QStringLiteral("cannot write ") + autostartEntry_ +
                   QStringLiteral(", which brings the alarm back at login"),
               written.error);
        return false;
    }
    reported_ = false;
    return true;
}

void FileAlarmStore::remove(const QString& id) {
    {
        const FolderLock folderLock(folder_);
        ::unlink(encoded(recordPath(id)).constData());
        ::unlink(encoded(lockPath(id)).constData());
        if (!anyRecord())
            ::unlink(encoded(autostartEntry_).constData());
    }
    const auto it = held_.find(id);
    if (it != held_.end()) {
        ::close(it->second);
        held_.erase(it);
    }
}

std::vector<AlarmStore::Stored> FileAlarmStore::list() {
    QDir folder(folder_);
    const QFileInfoList files = folder.entryInfoList({QStringLiteral("*") + RecordSuffix},
                                                     QDir::Files, QDir::Time | QDir::Reversed);
    std::vector<Stored> all;
    for (const QFileInfo& file : files) {
        Stored stored;
        stored.id = file.completeBaseName();
        stored.path = file.filePath();
        QFile in(stored.path);
        if (file.size() <= LargestRecord && in.open(QIODevice::ReadOnly))
            stored.text = in.readAll();
        stored.pid = held_.count(stored.id) ? qint64(::getpid()) : holder(stored.id);
        stored.held = stored.pid != 0;
        all.push_back(std::move(stored));
    }
    return all;
}

bool FileAlarmStore::anyRecord() const {
    return !QDir(folder_).entryList({QStringLiteral("*") + RecordSuffix}, QDir::Files).isEmpty();
}

AtomicReplace::Outcome FileAlarmStore::writeAutostartEntry() {
    const QByteArray entry = AutostartEntry::text(program_);
    QFile existing(autostartEntry_);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == entry)
        return {true, {}};
    if (!QDir().mkpath(QFileInfo(autostartEntry_).path()))
        return {false, QStringLiteral("its folder cannot be made")};
    return AtomicReplace::replaceFile(autostartEntry_, entry);
}

// The alarm runs on without its record; the user hears of it once, not at every change.
void FileAlarmStore::report(const QString& problem, const QString& reason) {
    if (reported_)
        return;
    reported_ = true;
    errorNote(QStringLiteral("%1 (%2): the alarm runs on, but will not come back if Pingolet is "
                             "stopped")
                  .arg(problem, reason));
}
