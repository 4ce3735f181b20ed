#pragma once

#include <QByteArray>
#include <QString>

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Whether a regular file (not a directory) exists at the path.
    virtual bool isFile(const QString& path) = 0;
    // Replaces the file at the path with exactly these bytes: written beside it, then renamed
    // into place, so that a failure leaves the previous file whole. False on failure.
    virtual bool writeFile(const QString& path, const QByteArray& bytes) = 0;
};
