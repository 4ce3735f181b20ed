#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>

// An X11 system tray on the display the program uses: a window that holds the
// _NET_SYSTEM_TRAY_S<screen> selection, where the tray's icons dock. Nothing on any other
// platform.
class X11SystemTray : public QAbstractNativeEventFilter {
public:
    // started: called when a tray starts later, told by the MANAGER message that a tray sends to
    // the root window, with no need to ask at intervals.
    explicit X11SystemTray(std::function<void()> started);
    ~X11SystemTray() override;
    X11SystemTray(const X11SystemTray&) = delete;
    X11SystemTray& operator=(const X11SystemTray&) = delete;

    // Whether one runs now.
    bool present() const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> started_;
    std::uint32_t selection_ = 0; // the selection's atom; 0 when the program does not run on X11
    std::uint32_t manager_ = 0;
};
