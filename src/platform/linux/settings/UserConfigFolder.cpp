#include "UserConfigFolder.h"

#include "platform/linux/shared/XdgFolder.h"

#include <QDir>
#include <QFileInfo>

namespace UserConfigFolder {

namespace {
// As for the writers, a folder without any write bit is closed even to root, who could
// otherwise make a settings folder in a home its user has made read-only.
bool mayCreate(const QString& folder) {
    QString existing = folder;
    while (!QFileInfo::exists(existing))
        existing = QFileInfo(existing).path();
    const QFileInfo above(existing);
    return above.isDir() &&
           (above.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}
} // namespace

QString path() {
    return xdgFolder("XDG_CONFIG_HOME", "/.config") + QStringLiteral("/pingolet/");
}

void createFor(const QString& filePath) {
    const QString folder = QDir::cleanPath(QFileInfo(filePath).absolutePath());
    if (folder == QDir::cleanPath(path()) && !QFileInfo::exists(folder) && mayCreate(folder))
        QDir().mkpath(folder);
}

} // namespace UserConfigFolder
