#include "DesktopDocumentOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool DesktopDocumentOpener::openDocument(const QString& path) {
    // The desktop's opener starts detached and reports nothing back, not even a missing file:
    // check for that here, so the caller can say so.
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}
