#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Serialises the read-change-replace of one file across processes, so that two copies of the
// program saving at the same moment cannot each replace the other's change. The lock is a hidden
// file beside the file really replaced (links followed). A process that dies holding it leaves
// no stuck lock: the next one sees its owner gone and takes it over. Waits at most two seconds.
class FileUpdateLock {
public:
    explicit FileUpdateLock(const QString& path);
    FileUpdateLock(const FileUpdateLock&) = delete;
    FileUpdateLock& operator=(const FileUpdateLock&) = delete;

    bool acquired() const { return acquired_; }

    static constexpr int waitMs = 2000;

private:
    std::unique_ptr<QLockFile> lock_;
    bool acquired_ = false;
};
