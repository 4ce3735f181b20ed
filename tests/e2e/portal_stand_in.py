#!/usr/bin/python3
"""xdg-desktop-portal's Inhibit, for the end-to-end suite, on the session bus of the environment.

    portal_stand_in.py LOG    owns org.freedesktop.portal.Desktop; logs "ready", then each call as
                              "inhibit FLAGS REASON" and "close REASON", and "gone REASON" for an
                              inhibition whose caller left without closing it
"""
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"


def write(line):
    with open(sys.argv[1], "a", encoding="utf-8") as out:
        out.write(line + "\n")


class Request(dbus.service.Object):
    def __init__(self, bus, path, reason, requests):
        super().__init__(bus, path)
        self.reason = reason
        self.requests = requests

    @dbus.service.method("org.freedesktop.portal.Request")
    def Close(self):
        write(f"close {self.reason}")
        self.end()

    def end(self):
        self.requests.remove(self)
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus = bus
        self.requests = []
        self.count = 0
        bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged", "org.freedesktop.DBus",
                                "org.freedesktop.DBus", "/org/freedesktop/DBus")

    def owner_changed(self, name, _old, new):
        if new:
            return
        for request in [r for r in self.requests if r.sender == name]:
            write(f"gone {request.reason}")
            request.end()

    @dbus.service.method("org.freedesktop.portal.Inhibit", in_signature="sua{sv}",
                         out_signature="o", sender_keyword="sender")
    def Inhibit(self, _window, flags, options, sender=None):
        self.count += 1
        reason = str(options.get("reason", ""))
        path = f"{PATH}/request/{sender[1:].replace('.', '_')}/t{self.count}"
        request = Request(self.bus, path, reason, self.requests)
        request.sender = sender
        self.requests.append(request)
        write(f"inhibit {int(flags)} {reason}")
        return dbus.ObjectPath(path)


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
session = dbus.SessionBus()
portal = Portal(session)
name = dbus.service.BusName(NAME, session, do_not_queue=True)  # noqa: F841 (held while it runs)
write("ready")
GLib.MainLoop().run()
