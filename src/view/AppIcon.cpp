#include "AppIcon.h"

// The resources live in a static library: nothing would pull them into the program unless
// they are asked for by name.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

QIcon appIcon() {
    initIconResources();
    return QIcon(QStringLiteral(":/icons/pingolet.png"));
}
