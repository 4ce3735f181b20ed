#!/usr/bin/python3
"""A panel that shows status icons, for the end-to-end suite, on the session bus of the
environment: a StatusNotifierWatcher with a host registered, and the reading and clicking a panel
does.

    panel_host.py serve LOG     owns org.kde.StatusNotifierWatcher; logs "ready", then each item
                                as "registered ITEM" and "gone ITEM"
    panel_host.py items         the registered items whose program is still there, one a line
    panel_host.py pids          the process of each of those items, one a line
    panel_host.py tooltip       the tooltip of the one item
    panel_host.py red           the share of red pixels in the top right corner of the 22 px icon,
                                where the mark of a sounding alarm goes
    panel_host.py menu          the menu's labels, one a line, submenu entries as "TITLE/ENTRY"
    panel_host.py click PATH    clicks the entry of the menu at PATH ("TITLE/ENTRY" or "ENTRY")
"""
import sys

import dbus

WATCHER = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
PROPS = "org.freedesktop.DBus.Properties"
MENU = "com.canonical.dbusmenu"

# Qt reads the watcher's properties only when its introspection lists them.
INTROSPECTION = """<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
</node>"""


def serve(log):
    import dbus.mainloop.glib
    import dbus.service
    from gi.repository import GLib

    def write(line):
        with open(log, "a", encoding="utf-8") as out:
            out.write(line + "\n")

    class Watcher(dbus.service.Object):
        def __init__(self, bus):
            super().__init__(bus, WATCHER_PATH)
            self.items = []
            bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged", "org.freedesktop.DBus",
                                    "org.freedesktop.DBus", "/org/freedesktop/DBus")

        def owner_changed(self, name, _old, new):
            for item in [i for i in self.items if i.split("/")[0] == name and not new]:
                self.items.remove(item)
                write(f"gone {item}")
                self.StatusNotifierItemUnregistered(item)

        @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
        def Introspect(self):
            return INTROSPECTION

        @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
        def RegisterStatusNotifierItem(self, service, sender=None):
            item = sender + service if service.startswith("/") else service + "/StatusNotifierItem"
            if item not in self.items:
                self.items.append(item)
                write(f"registered {item}")
                self.StatusNotifierItemRegistered(item)

        @dbus.service.method(WATCHER, in_signature="s")
        def RegisterStatusNotifierHost(self, _service):
            self.StatusNotifierHostRegistered()

        @dbus.service.signal(WATCHER, signature="s")
        def StatusNotifierItemRegistered(self, _item):
            pass

        @dbus.service.signal(WATCHER, signature="s")
        def StatusNotifierItemUnregistered(self, _item):
            pass

        @dbus.service.signal(WATCHER, signature="")
        def StatusNotifierHostRegistered(self):
            pass

        def properties(self):
            return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                    "IsStatusNotifierHostRegistered": dbus.Boolean(True),
                    "ProtocolVersion": dbus.Int32(0)}

        @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
        def Get(self, _interface, name):
            return self.properties()[name]

        @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}")
        def GetAll(self, _interface):
            return self.properties()

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus)
    name = dbus.service.BusName(WATCHER, bus, do_not_queue=True)  # noqa: F841 (held while it runs)
    watcher.StatusNotifierHostRegistered()
    write("ready")
    GLib.MainLoop().run()
    del watcher


def items(bus):
    watcher = bus.get_object(WATCHER, WATCHER_PATH)
    return [str(i) for i in watcher.Get(WATCHER, "RegisteredStatusNotifierItems",
                                        dbus_interface=PROPS)]


def the_item(bus):
    found = items(bus)
    if len(found) != 1:
        sys.exit(f"{len(found)} items, not one: {found}")
    service, _, path = found[0].partition("/")
    return bus.get_object(service, "/" + path), service


def prop(item, name):
    return item.Get(ITEM, name, dbus_interface=PROPS)


def entries(bus):
    """(path, id) of every entry of the item's menu, labels without their mnemonic marks."""
    item, service = the_item(bus)
    menu = bus.get_object(service, str(prop(item, "Menu")))
    _, layout = menu.GetLayout(0, -1, dbus.Array([], signature="s"), dbus_interface=MENU)
    found = []

    def walk(node, prefix):
        mid, properties, children = node
        label = str(properties.get("label", "")).replace("_", "")
        if properties.get("type") == "separator" or not properties.get("visible", True):
            return
        path = prefix + label if label else prefix
        if label:
            found.append((path, int(mid)))
        for child in children:
            walk(child, path + "/" if label else prefix)

    walk(layout, "")
    return menu, found


def main():
    command = sys.argv[1]
    if command == "serve":
        serve(sys.argv[2])
        return
    bus = dbus.SessionBus()
    if command == "items":
        print("\n".join(items(bus)))
    elif command == "pids":
        daemon = dbus.Interface(bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus"),
                                "org.freedesktop.DBus")
        print("\n".join(str(daemon.GetConnectionUnixProcessID(i.split("/")[0])) for i in items(bus)))
    elif command == "tooltip":
        item, _ = the_item(bus)
        print(str(prop(item, "ToolTip")[2]))
    elif command == "red":
        item, _ = the_item(bus)
        width, height, data = min(prop(item, "IconPixmap"), key=lambda p: int(p[0]))
        width, height, pixels = int(width), int(height), bytes(data)
        corner = [4 * (y * width + x) for y in range(height * 2 // 5)
                  for x in range(width * 3 // 5, width)]
        red = sum(1 for i in corner  # ARGB, big-endian
                  if pixels[i] > 128 and pixels[i + 1] > 180 and pixels[i + 2] < 80
                  and pixels[i + 3] < 80)
        print(f"{red / len(corner):.3f}")
    elif command == "menu":
        print("\n".join(path for path, _ in entries(bus)[1]))
    elif command == "click":
        want = sys.argv[2]
        menu, found = entries(bus)
        for path, mid in found:
            if path == want:
                menu.Event(dbus.Int32(mid), "clicked", dbus.Int32(0, variant_level=1),
                           dbus.UInt32(0), dbus_interface=MENU)
                return
        sys.exit(f"no entry {want} in {[p for p, _ in found]}")


main()
