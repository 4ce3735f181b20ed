#include "X11Urgency.h"

#include "X11Window.h"

#include <xcb/xcb.h>

#include <algorithm>

namespace {
// WM_HINTS as the ICCCM lays it out: flags, then eight more 32-bit fields.
constexpr std::size_t HintFields = 9;
constexpr std::uint32_t UrgencyFlag = 1u << 8;
// _NET_WM_STATE client message: remove or add, the state, no second state, from an application.
constexpr std::uint32_t Remove = 0;
constexpr std::uint32_t Add = 1;
constexpr std::uint32_t FromApplication = 1;

void setHint(const X11Window& x, bool urgent) {
    std::vector<std::uint32_t> hints =
        x.property(x.id(), XCB_ATOM_WM_HINTS).value_or(std::vector<std::uint32_t>{});
    hints.resize(HintFields, 0);
    const std::uint32_t flags = urgent ? hints[0] | UrgencyFlag : hints[0] & ~UrgencyFlag;
    if (flags == hints[0])
        return;
    hints[0] = flags;
    // Qt's own hints (input, initial state, group) stay as they were; only the one bit changes.
    x.setProperty(XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, hints);
}

// The window manager keeps the state of a mapped window and is asked to change it. One that
// does not know the state leaves it out: it is asked again each time.
void setState(const X11Window& x, bool urgent) {
    const std::uint32_t state = x.atom("_NET_WM_STATE");
    const std::uint32_t attention = x.atom("_NET_WM_STATE_DEMANDS_ATTENTION");
    const auto states = x.property(x.id(), state).value_or(std::vector<std::uint32_t>{});
    const bool stated = std::find(states.begin(), states.end(), attention) != states.end();
    if (stated != urgent)
        x.tellWindowManager(state, {urgent ? Add : Remove, attention, 0, FromApplication});
}
} // namespace

void X11Urgency::set(QWindow& window, bool urgent) {
    const auto x = X11Window::of(window);
    if (!x)
        return;
    setHint(*x, urgent);
    setState(*x, urgent);
}

bool X11Urgency::isSet(QWindow& window) {
    const auto x = X11Window::of(window);
    if (!x)
        return false;
    const auto hints = x->property(x->id(), XCB_ATOM_WM_HINTS);
    return hints && !hints->empty() && ((*hints)[0] & UrgencyFlag);
}
