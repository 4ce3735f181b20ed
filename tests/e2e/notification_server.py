#!/usr/bin/python3
"""A notification server for the end-to-end suite, on the session bus of the environment.

Answers Notify and CloseNotification and logs each call to the file given as its argument, as
"notify ID SUMMARY ACTION,..." (after "from ID SENDER", the caller's connection) and "close ID". On SIGUSR1 it invokes the action named in the
file given as its second argument on the newest notice, as a user's press on its button would.
"""
import signal
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

PATH = "/org/freedesktop/Notifications"
NAME = "org.freedesktop.Notifications"


class Server(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, PATH)
        self.log = log
        self.newest = 0

    def write(self, line):
        with open(self.log, "a", encoding="utf-8") as out:
            out.write(line + "\n")

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u",
                         sender_keyword="sender")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout, sender=None):
        nid = replaces or self.newest + 1
        self.newest = max(self.newest, nid)
        self.write(f"from {nid} {sender}")
        self.write(f"notify {nid} {summary} {','.join(actions[0::2])}")
        return nid

    @dbus.service.method(NAME, in_signature="u")
    def CloseNotification(self, nid):
        self.write(f"close {nid}")

    @dbus.service.method(NAME, out_signature="as")
    def GetCapabilities(self):
        return ["actions", "body"]

    @dbus.service.method(NAME, out_signature="ssss")
    def GetServerInformation(self):
        return ("e2e", "pingolet", "1", "1.2")

    @dbus.service.signal(NAME, signature="us")
    def ActionInvoked(self, nid, action):
        self.write(f"invoked {nid} {action}")


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    server = Server(bus, sys.argv[1])
    name = dbus.service.BusName(NAME, bus)  # noqa: F841 (held while it runs)

    def press(*_):
        with open(sys.argv[2], encoding="utf-8") as f:
            server.ActionInvoked(server.newest, f.read().strip())
        return True

    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, press)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, lambda *_: loop.quit())
    server.write("ready")
    loop = GLib.MainLoop()
    loop.run()


if __name__ == "__main__":
    main()
