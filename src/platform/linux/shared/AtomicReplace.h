#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace AtomicReplace {

// Whether a replacement was done, and why not when it was not.
struct Outcome {
    bool replaced = false;
    QString error;
    explicit operator bool() const { return replaced; }
};

// Replaces the file at `path` with exactly these bytes, or leaves it as it was. QSaveFile writes
// them to a new file beside the target, flushes it to the disk and renames it over the target,
// so no reader ever sees half a file; a symbolic link stays a link (its target is replaced, and
// created when missing); the file keeps its permission bits and, where root saves it, its owner.
//
// Fails for a path that is a directory or some other non-regular file, for a file without write
// permission and for a directory that cannot take the new file. A file or directory without any
// write bit counts as unwritable even for root, who could otherwise write anything.
Outcome replaceFile(const QString& path, QByteArrayView bytes);

// Follows symbolic links to the file that is really replaced, which need not exist yet. Empty
// when the links loop or cannot be read.
std::optional<QString> resolveLinks(const QString& path);

} // namespace AtomicReplace
