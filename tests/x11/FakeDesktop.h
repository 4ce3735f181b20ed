#pragma once

#include <xcb/xcb.h>

// The desktop around the program under test, on the test's own connection to the X server: a
// window of the user's, and a window manager that answers the program's requests for the focus
// as the test tells it, and keeps each window's _NET_WM_STATE as the EWMH asks.
class FakeDesktop {
public:
    enum class Answer {
        Grant,  // the window gets the focus
        Refuse, // the request is ignored
    };

    FakeDesktop(); // on $DISPLAY; says it supports _NET_ACTIVE_WINDOW and _NET_WM_STATE
    ~FakeDesktop();
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    void answer(Answer answer) { answer_ = answer; }
    xcb_window_t userWindow() const { return user_; }

    // Gives a window the focus, as a click on it would.
    void focus(xcb_window_t window);
    // Answers what the programs sent the window manager since the last call.
    void serve();

    bool hasFocus(xcb_window_t window);
    bool isViewable(xcb_window_t window);
    bool urgencyHint(xcb_window_t window);
    bool demandsAttention(xcb_window_t window);
    int activationRequests() const { return requests_; }

private:
    xcb_atom_t atom(const char* name);
    void changeState(xcb_window_t window, xcb_atom_t state, bool add);

    xcb_connection_t* c_;
    xcb_window_t root_;
    xcb_window_t user_;
    Answer answer_ = Answer::Refuse;
    int requests_ = 0;
};

// The one desktop of the test process, made before the program's QApplication.
FakeDesktop& desktop();
