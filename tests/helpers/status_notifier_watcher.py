#!/usr/bin/python3
"""A StatusNotifier watcher with a host, as a desktop panel offers one, on the session bus.

Tray items that register are listed in the file given as the first argument, one bus name a
line, so a test can read each item's menu over com.canonical.dbusmenu the way a panel does.
"""
import sys

from gi.repository import Gio, GLib

XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  </interface>
</node>
"""

items = []
out_path = sys.argv[1]


def on_call(connection, sender, path, interface, method, params, invocation):
    if method == "RegisterStatusNotifierItem":
        service = params.unpack()[0]
        # Items may pass a bus name or only an object path (then the sender is the name).
        name = service if not service.startswith("/") else sender
        items.append(name)
        with open(out_path, "a") as out:
            out.write(name + "\n")
        connection.emit_signal(None, path, interface, "StatusNotifierItemRegistered",
                               GLib.Variant("(s)", (name,)))
    invocation.return_value(None)


def on_get(connection, sender, path, interface, prop):
    if prop == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", items)
    if prop == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", True)
    return GLib.Variant("i", 0)


def on_bus(connection, name):
    info = Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0]
    connection.register_object("/StatusNotifierWatcher", info, on_call, on_get, None)


open(out_path, "w").close()
Gio.bus_own_name(Gio.BusType.SESSION, "org.kde.StatusNotifierWatcher",
                 Gio.BusNameOwnerFlags.NONE, on_bus, None, lambda *a: sys.exit(1))
GLib.MainLoop().run()
