#include "AppIcon.h"

#include "platform/ApplicationId.h"

// The resources live in a static library: nothing would pull them into the program unless
// they are asked for by name.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

QIcon appIcon() {
    initIconResources();
    // The theme's icon of the same name when installed, so the window and the menu agree;
    // otherwise the sizes a title bar and a task bar ask for, none of them scaled.
    QIcon own;
    for (const char* file : {":/icons/pingolet-16.png", ":/icons/pingolet-32.png",
                             ":/icons/pingolet.png", ":/icons/pingolet-64.png"})
        own.addFile(QString::fromLatin1(file));
    return QIcon::fromTheme(applicationId(), own);
}
