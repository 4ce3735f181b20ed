#include "X11Urgency.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>

namespace {
// WM_HINTS as the ICCCM lays it out: flags, then eight more 32-bit fields.
constexpr int HintFields = 9;
constexpr std::uint32_t UrgencyFlag = 1u << 8;

xcb_connection_t* connection() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

bool readHints(xcb_connection_t* c, xcb_window_t id, std::array<std::uint32_t, HintFields>& hints) {
    hints.fill(0);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, HintFields),
        nullptr);
    if (!reply)
        return false;
    const int length = xcb_get_property_value_length(reply);
    if (reply->format == 32 && length > 0)
        std::memcpy(hints.data(), xcb_get_property_value(reply),
                    std::min<std::size_t>(std::size_t(length), sizeof hints));
    std::free(reply);
    return true;
}
} // namespace

void X11Urgency::set(QWindow& window, bool urgent) {
    xcb_connection_t* c = connection();
    if (!c || !window.handle())
        return;
    const auto id = xcb_window_t(window.winId());
    std::array<std::uint32_t, HintFields> hints;
    if (!readHints(c, id, hints))
        return;
    const std::uint32_t flags = urgent ? hints[0] | UrgencyFlag : hints[0] & ~UrgencyFlag;
    if (flags == hints[0])
        return;
    hints[0] = flags;
    // Qt's own hints (input, initial state) stay as they were; only the one bit changes.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                        HintFields, hints.data());
    xcb_flush(c);
}

bool X11Urgency::isSet(QWindow& window) {
    xcb_connection_t* c = connection();
    if (!c || !window.handle())
        return false;
    std::array<std::uint32_t, HintFields> hints;
    return readHints(c, xcb_window_t(window.winId()), hints) && (hints[0] & UrgencyFlag);
}
