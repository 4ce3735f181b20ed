#include "X11SystemTray.h"

#include "X11Window.h"
#include "XcbReply.h"

#include <QByteArray>
#include <QCoreApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {
xcb_window_t rootOf(xcb_connection_t* c, int screen) {
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen && roots.rem > 1; ++i)
        xcb_screen_next(&roots);
    return roots.data->root;
}
} // namespace

X11SystemTray::X11SystemTray(std::function<void()> started) : started_(std::move(started)) {
    xcb_connection_t* c = X11Window::programConnection();
    if (!c)
        return;
    // The screen DISPLAY names, as the X library reads it.
    int display = 0, screen = 0;
    char* host = nullptr;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        screen = 0;
    std::free(host);
    selection_ =
        X11Window::atom(c, ("_NET_SYSTEM_TRAY_S" + QByteArray::number(screen)).constData());
    manager_ = X11Window::atom(c, "MANAGER");
    // A tray that starts tells the root window's structure listeners; Qt's own mask there stays.
    const xcb_window_t root = rootOf(c, screen);
    const auto attributes =
        xcbReply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr));
    if (!attributes)
        return;
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11SystemTray::~X11SystemTray() {
    if (selection_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11SystemTray::present() const {
    xcb_connection_t* c = X11Window::programConnection();
    if (!c || !selection_)
        return false;
    const auto reply =
        xcbReply(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection_), nullptr));
    return reply && reply->owner != XCB_NONE;
}

bool X11SystemTray::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->type == manager_ && client->format == 32 && client->data.data32[1] == selection_)
        started_();
    return false;
}
