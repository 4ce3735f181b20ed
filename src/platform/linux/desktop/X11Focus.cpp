#include "X11Focus.h"

#include "X11Window.h"

#include <QWindow>

#include <xcb/xcb.h>

std::optional<bool> X11Focus::has(QWindow& window) {
    const auto x = X11Window::of(window);
    if (!x)
        return std::nullopt;
    if (x->inputFocus() != x->id())
        return false;
    // Without a window manager that keeps it, the server's word is the only one.
    const auto active = x->property(x->root(), x->atom("_NET_ACTIVE_WINDOW"));
    return !active || (!active->empty() && active->front() == x->id());
}

bool X11Focus::mayHaveGained(const void* xcbEvent, QWindow& window) {
    const auto* event = static_cast<const xcb_generic_event_t*>(xcbEvent);
    switch (event->response_type & ~0x80) {
    case XCB_FOCUS_IN: {
        const auto* focus = static_cast<const xcb_focus_in_event_t*>(xcbEvent);
        return window.handle() && focus->event == xcb_window_t(window.winId());
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto* change = static_cast<const xcb_property_notify_event_t*>(xcbEvent);
        xcb_connection_t* c = X11Window::programConnection();
        return c && change->atom == X11Window::atom(c, "_NET_ACTIVE_WINDOW") &&
               X11Window::isRoot(c, change->window);
    }
    default:
        return false;
    }
}
