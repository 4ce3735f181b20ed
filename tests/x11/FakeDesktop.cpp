#include "FakeDesktop.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {
template <typename Reply> std::unique_ptr<Reply, decltype(&std::free)> owned(Reply* reply) {
    return {reply, &std::free};
}

std::vector<xcb_atom_t> atoms(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name) {
    auto reply = owned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}
} // namespace

FakeDesktop::FakeDesktop() : c_(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(c_))
        throw std::runtime_error("no X server at $DISPLAY");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    root_ = screen->root;
    // Client messages to the root reach every client that listens for the events they name:
    // Qt asks for the focus as "structure", and a state change goes as "substructure".
    const std::uint32_t rootEvents =
        XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &rootEvents);
    const xcb_atom_t supported[] = {atom("_NET_ACTIVE_WINDOW"), atom("_NET_WM_STATE"),
                                    atom("_NET_WM_STATE_DEMANDS_ATTENTION")};
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, root_, atom("_NET_SUPPORTED"), XCB_ATOM_ATOM, 32,
                        3, supported);

    user_ = xcb_generate_id(c_);
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, user_, root_, 0, 0, 200, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(c_, user_);
    xcb_flush(c_);
}

FakeDesktop::~FakeDesktop() {
    xcb_disconnect(c_);
}

xcb_atom_t FakeDesktop::atom(const char* name) {
    auto reply = owned(xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

void FakeDesktop::focus(xcb_window_t window) {
    xcb_set_input_focus(c_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, root_, atom("_NET_ACTIVE_WINDOW"),
                        XCB_ATOM_WINDOW, 32, 1, &window);
    xcb_flush(c_);
}

void FakeDesktop::serve() {
    while (auto event = owned(xcb_poll_for_event(c_))) {
        if ((event->response_type & ~0x80) != XCB_CLIENT_MESSAGE)
            continue;
        const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event.get());
        if (message->type == atom("_NET_ACTIVE_WINDOW")) {
            ++requests_;
            if (answer_ == Answer::Grant)
                focus(message->window);
        } else if (message->type == atom("_NET_WM_STATE")) {
            // Remove (0) or add (1) one state; the program toggles none, nor two at once.
            changeState(message->window, message->data.data32[1], message->data.data32[0] == 1);
        }
    }
}

void FakeDesktop::changeState(xcb_window_t window, xcb_atom_t state, bool add) {
    std::vector<xcb_atom_t> states = atoms(c_, window, atom("_NET_WM_STATE"));
    states.erase(std::remove(states.begin(), states.end(), state), states.end());
    if (add)
        states.push_back(state);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        std::uint32_t(states.size()), states.data());
    xcb_flush(c_);
}

bool FakeDesktop::hasFocus(xcb_window_t window) {
    auto reply = owned(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    return reply && reply->focus == window;
}

bool FakeDesktop::isViewable(xcb_window_t window) {
    auto reply =
        owned(xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, window), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool FakeDesktop::urgencyHint(xcb_window_t window) {
    const auto hints = atoms(c_, window, XCB_ATOM_WM_HINTS);
    return !hints.empty() && (hints[0] & (1u << 8));
}

bool FakeDesktop::demandsAttention(xcb_window_t window) {
    const auto states = atoms(c_, window, atom("_NET_WM_STATE"));
    return std::find(states.begin(), states.end(), atom("_NET_WM_STATE_DEMANDS_ATTENTION")) !=
           states.end();
}
