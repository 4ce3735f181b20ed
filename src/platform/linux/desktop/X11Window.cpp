#include "X11Window.h"

#include "XcbReply.h"

#include <QGuiApplication>
#include <QHash>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {
// More than any property read here holds (WM_HINTS has 9 values, _NET_WM_STATE a dozen at most).
constexpr std::uint32_t MaxValues = 64;
} // namespace

xcb_connection_t* X11Window::programConnection() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

std::optional<X11Window> X11Window::of(QWindow& window) {
    xcb_connection_t* c = programConnection();
    if (!c || !window.handle())
        return std::nullopt;
    const auto id = xcb_window_t(window.winId());
    auto geometry = xcbReply(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    if (!geometry)
        return std::nullopt;
    return X11Window(c, id, geometry->root);
}

std::uint32_t X11Window::atom(xcb_connection_t* c, const char* name) {
    // The program keeps one X connection for its life, so its atoms can be kept too.
    static QHash<QByteArray, xcb_atom_t> atoms;
    const QByteArray key(name);
    if (const auto found = atoms.constFind(key); found != atoms.constEnd())
        return *found;
    auto reply = xcbReply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, std::uint16_t(key.size()), key.constData()), nullptr));
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    if (value != XCB_ATOM_NONE)
        atoms.insert(key, value);
    return value;
}

bool X11Window::isRoot(xcb_connection_t* c, std::uint32_t window) {
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(c)); screens.rem;
         xcb_screen_next(&screens)) {
        if (screens.data->root == window)
            return true;
    }
    return false;
}

std::optional<std::vector<std::uint32_t>> X11Window::property(std::uint32_t window,
                                                              std::uint32_t name) const {
    auto reply = xcbReply(xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, MaxValues),
        nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format != 32)
        return std::nullopt;
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<std::uint32_t>(values, values + xcb_get_property_value_length(reply.get()) /
                                                           int(sizeof(std::uint32_t)));
}

void X11Window::setProperty(std::uint32_t name, std::uint32_t type,
                            const std::vector<std::uint32_t>& values) const {
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, id_, name, type, 32,
                        std::uint32_t(values.size()), values.data());
    xcb_flush(c_);
}

void X11Window::tellWindowManager(std::uint32_t type,
                                  const std::vector<std::uint32_t>& data) const {
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id_;
    message.type = type;
    for (std::size_t i = 0; i < data.size() && i < 5; ++i)
        message.data.data32[i] = data[i];
    xcb_send_event(c_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c_);
}

std::uint32_t X11Window::inputFocus() const {
    auto reply = xcbReply(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    return reply ? reply->focus : XCB_NONE;
}
