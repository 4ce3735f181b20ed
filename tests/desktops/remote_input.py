#!/usr/bin/python3
"""Input that mutter and GNOME Shell count as the user's: their RemoteDesktop interface on the
session bus (a session without a screen cast), created, started and fed on one connection.
  remote_input.py keys FILE         types "a" every 60 ms until stopped (SIGTERM); counts into FILE
  remote_input.py click X Y [TEXT]  moves the pointer to X,Y from the top right corner, clicks
                                    once, then types TEXT (letters a to z)
Prints "started" once the session takes input."""
import signal
import sys
import time

import dbus

BUS_NAME = "org.gnome.Mutter.RemoteDesktop"
# evdev key codes of the letters, in keyboard order
LETTERS = dict(zip("qwertyuiop", range(16, 26)))
LETTERS.update(zip("asdfghjkl", range(30, 39)))
LETTERS.update(zip("zxcvbnm", range(44, 51)))
KEY_LEFTSHIFT = 42
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


def press(remote, letter):
    remote.NotifyKeyboardKeycode(LETTERS[letter], True)
    remote.NotifyKeyboardKeycode(LETTERS[letter], False)


def keys(count_file):
    stop = []
    signal.signal(signal.SIGTERM, lambda *_: stop.append(True))
    remote = session()
    typed = 0
    while not stop:
        press(remote, "a")
        typed += 1
        with open(count_file, "w") as out:
            out.write(f"{typed}\n")
        time.sleep(0.06)
    remote.Stop()


def click(x, y, text):
    remote = session()
    # The top left corner opens GNOME Shell's overview; the top right one is safe to start from.
    # One axis at a time: a diagonal motion stops where it first meets an edge.
    remote.NotifyPointerMotionRelative(dbus.Double(10000), dbus.Double(0))
    remote.NotifyPointerMotionRelative(dbus.Double(0), dbus.Double(-10000))
    remote.NotifyPointerMotionRelative(dbus.Double(x - (SCREEN_WIDTH - 1)), dbus.Double(y))
    time.sleep(0.2)
    remote.NotifyPointerButton(BTN_LEFT, True)
    remote.NotifyPointerButton(BTN_LEFT, False)
    time.sleep(0.2)
    # A new session's first key may come before Xwayland has its keymap: a Shift goes first.
    remote.NotifyKeyboardKeycode(KEY_LEFTSHIFT, True)
    remote.NotifyKeyboardKeycode(KEY_LEFTSHIFT, False)
    time.sleep(0.1)
    for letter in text:
        press(remote, letter)
        time.sleep(0.06)
    time.sleep(0.2)
    remote.Stop()


if __name__ == "__main__":
    if sys.argv[1:2] == ["keys"] and len(sys.argv) == 3:
        keys(sys.argv[2])
    elif sys.argv[1:2] == ["click"] and len(sys.argv) in (4, 5):
        click(int(sys.argv[2]), int(sys.argv[3]), sys.argv[4] if len(sys.argv) == 5 else "")
    else:
        sys.exit(__doc__)
