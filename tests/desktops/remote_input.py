#!/usr/bin/python3
"""Input that mutter and GNOME Shell count as the user's: their RemoteDesktop interface on the
session bus (a session without a screen cast), created, started and fed on one connection.
  remote_input.py keys FILE   types "a" every 60 ms until stopped (SIGTERM); counts into FILE
  remote_input.py click X Y   moves the pointer to X,Y from the top right corner, clicks once
Prints "started" once the session takes input."""
import signal
import sys
import time

import dbus

BUS_NAME = "org.gnome.Mutter.RemoteDesktop"
KEY_A = 30  # evdev key codes
BTN_LEFT = 272
SCREEN_WIDTH = 1280


def session():
    bus = dbus.SessionBus()
    manager = dbus.Interface(bus.get_object(BUS_NAME, "/org/gnome/Mutter/RemoteDesktop"),
                             "org.gnome.Mutter.RemoteDesktop")
    path = manager.CreateSession()
    remote = dbus.Interface(bus.get_object(BUS_NAME, path), "org.gnome.Mutter.RemoteDesktop.Session")
    remote.Start()
    print("started", flush=True)
    return remote


def keys(count_file):
    stop = []
    signal.signal(signal.SIGTERM, lambda *_: stop.append(True))
    remote = session()
    typed = 0
    while not stop:
        remote.NotifyKeyboardKeycode(KEY_A, True)
        remote.NotifyKeyboardKeycode(KEY_A, False)
        typed += 1
        with open(count_file, "w") as out:
            out.write(f"{typed}\n")
        time.sleep(0.06)
    remote.Stop()


def click(x, y):
    remote = session()
    # The top left corner opens GNOME Shell's overview; the top right one is safe to start from.
    remote.NotifyPointerMotionRelative(dbus.Double(10000), dbus.Double(-10000))
    remote.NotifyPointerMotionRelative(dbus.Double(x - (SCREEN_WIDTH - 1)), dbus.Double(y))
    time.sleep(0.2)
    remote.NotifyPointerButton(BTN_LEFT, True)
    remote.NotifyPointerButton(BTN_LEFT, False)
    time.sleep(0.2)
    remote.Stop()


if __name__ == "__main__":
    if sys.argv[1:2] == ["keys"] and len(sys.argv) == 3:
        keys(sys.argv[2])
    elif sys.argv[1:2] == ["click"] and len(sys.argv) == 4:
        click(int(sys.argv[2]), int(sys.argv[3]))
    else:
        sys.exit(__doc__)
