#include "AppIcon.h"

#include "IconPixels.h"

#include <QImage>
#include <QPixmap>

QIcon appIcon() {
    // Pixels ready to use: decoding the PNGs took some 2 ms and 200 KB before the window showed.
    // The installed theme icon of the application id is this same picture, so the theme is not
    // searched for it either (the search alone took some 800 KB of heap at its peak).
    QIcon icon;
    for (const IconPixels& pixels : iconPixels()) {
        const QImage image(reinterpret_cast<const uchar*>(pixels.argb), pixels.size, pixels.size,
                           pixels.size * int(sizeof(uint32_t)), QImage::Format_ARGB32);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
