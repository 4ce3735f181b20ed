#include "UserStateFolder.h"

#include "platform/linux/shared/XdgFolder.h"

QString UserStateFolder::path() {
    return xdgFolder("XDG_STATE_HOME", "/.local/state") + QStringLiteral("/pingolet/");
}

QString UserStateFolder::autostartFolder() {
    return xdgFolder("XDG_CONFIG_HOME", "/.config") + QStringLiteral("/autostart/");
}
