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
    // The sizes a title bar and a task bar ask for, none of them scaled. Each is read as the PNG
    // it is: a reader free to guess loads every image plugin to ask each. The installed theme
    // icon of the application id is this same picture, so the theme is not searched for it
    // either (the search alone took some 800 KB of heap at its peak).
    QIcon icon;
    for (const char* file : {":/icons/pingolet-16.png", ":/icons/pingolet-32.png",
                             ":/icons/pingolet.png", ":/icons/pingolet-64.png"}) {
        QImageReader reader(QString::fromLatin1(file), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}
