#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace AtomicReplace {

// Replaces the file at `path` with exactly these bytes, or leaves it as it was and returns false.
// The bytes go to a new file beside the target, are flushed to the disk, and the new file is
// renamed over the target, so no reader ever sees half a file. A symbolic link stays a link (its
// target is replaced, and created when missing); the file keeps its permission bits.
//
// Fails for a path that is a directory or some other non-regular file, for a file without write
// permission and for a directory that cannot take the new file. A file or directory without any
// write bit counts as unwritable even for root, who could otherwise write anything.
bool replaceFile(const QString& path, QByteArrayView bytes);

// Follows symbolic links to the file that is really replaced, which need not exist yet. Empty
// when the links loop or cannot be read.
std::optional<QByteArray> resolveLinks(QByteArray path);

} // namespace AtomicReplace
