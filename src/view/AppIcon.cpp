#include "AppIcon.h"

#include <QImageReader>
#include <QPixmap>

// The resources live in a static library: nothing would pull them into the program unless
// they are asked for by name.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

QIcon appIcon() {
    initIconResources();
    // Read as the PNG it is: a reader free to guess loads every image plugin to ask each. The
    // installed theme icon of the application id is this same picture, so the theme is not
    // searched for it either (the search alone took some 800 KB of heap at its peak).
    QImageReader reader(QStringLiteral(":/icons/pingolet.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}
