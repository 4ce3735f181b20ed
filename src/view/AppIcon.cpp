#include "AppIcon.h"

#include "platform/ApplicationId.h"

// The resources live in a static library: nothing would pull them into the program unless
// they are asked for by name.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

QIcon appIcon() {
    initIconResources();
    // The theme's icon of the same name when installed, so the window and the menu agree.
    return QIcon::fromTheme(applicationId(), QIcon(QStringLiteral(":/icons/pingolet.png")));
}
