#pragma once

#include "platform/FileSystem.h"

// Files on the local file system; a replaced file keeps its links and permissions.
class LinuxFileSystem : public FileSystem {
public:
    bool isFile(const QString& path) override;
    bool writeFile(const QString& path, const QByteArray& bytes) override;
};
