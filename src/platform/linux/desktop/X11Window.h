#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

class QWindow;
struct xcb_connection_t;

// A top-level window of the program as the X server knows it (on Xvfb or Xwayland): the raw
// requests that the urgency marks and the focus judgement share.
class X11Window {
public:
    // Empty when the program does not run on X11 or the window has no native window yet.
    static std::optional<X11Window> of(QWindow& window);
    // The program's X connection; null when it does not run on X11.
    static xcb_connection_t* programConnection();
    static std::uint32_t atom(xcb_connection_t* c, const char* name);
    static bool isRoot(xcb_connection_t* c, std::uint32_t window);

    xcb_connection_t* connection() const { return c_; }
    std::uint32_t id() const { return id_; }
    std::uint32_t root() const { return root_; }

    std::uint32_t atom(const char* name) const { return atom(c_, name); }
    // The 32-bit values of a property of any type; empty when it is not set.
    std::optional<std::vector<std::uint32_t>> property(std::uint32_t window,
                                                       std::uint32_t name) const;
    void setProperty(std::uint32_t name, std::uint32_t type,
                     const std::vector<std::uint32_t>& values) const;
    // A client message to the root window, as the EWMH asks of a client that wants the window
    // manager to change something about its window.
    void tellWindowManager(std::uint32_t type, const std::vector<std::uint32_t>& data) const;
    // The window that has the server's input focus (0 for none, 1 for the pointer's root).
    std::uint32_t inputFocus() const;

private:
    X11Window(xcb_connection_t* c, std::uint32_t id, std::uint32_t root)
        : c_(c), id_(id), root_(root) {}
    xcb_connection_t* c_;
    std::uint32_t id_;
    std::uint32_t root_;
};
