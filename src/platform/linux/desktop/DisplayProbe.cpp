#include "platform/linux/desktop/DisplayProbe.h"

#include <xcb/xcb.h>

bool DisplayProbe::x11Opens(const QByteArray& display) {
    if (display.isEmpty())
        return false;
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}
