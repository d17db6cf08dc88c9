#!/usr/bin/python3
"""A minimal StatusNotifier watcher and host for the tray end-to-end test.

It owns org.kde.StatusNotifierWatcher on the session bus and says a host is present, so a
Qt application started afterwards registers its tray item here. When an item registers,
it acts as a panel would: reads the icon bitmaps and the tooltip, activates the item (a
left click), asks the item's menu for its layout and clicks the second entry. Each step is
reported on stdout as one line.
"""
import json
import sys

from gi.repository import Gio, GLib

WATCHER = "org.kde.StatusNotifierWatcher"
XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  </interface>
</node>
"""

bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
items = []


def report(*words):
    print(*words, flush=True)


def call(name, path, iface, method, args=None, reply=None):
    return bus.call_sync(name, path, iface, method, args, reply and GLib.VariantType(reply),
                         Gio.DBusCallFlags.NONE, 5000, None)


def prop(name, path, iface, key):
    return call(name, path, "org.freedesktop.DBus.Properties", "Get",
                GLib.Variant("(ss)", (iface, key)), "(v)").unpack()[0]


def act_as_panel(name, path):
    sni = "org.kde.StatusNotifierItem"
    pixmaps = prop(name, path, sni, "IconPixmap")
    sizes = sorted({(w, h) for w, h, data in pixmaps if len(data) == w * h * 4})
    opaque = max((sum(1 for i in range(0, len(d), 4) if d[i] > 200) for w, h, d in pixmaps),
                 default=0)
    report("icon", " ".join(f"{w}x{h}" for w, h in sizes), f"opaque={opaque}")
    tooltip = prop(name, path, sni, "ToolTip")
    report("tooltip", tooltip[2])
    call(name, path, sni, "Activate", GLib.Variant("(ii)", (10, 10)))
    report("activated")

    menu_path = prop(name, path, sni, "Menu")
    dbusmenu = "com.canonical.dbusmenu"
    call(name, menu_path, dbusmenu, "AboutToShow", GLib.Variant("(i)", (0,)))
    _, layout = call(name, menu_path, dbusmenu, "GetLayout",
                     GLib.Variant("(iias)", (0, -1, [])), "(u(ia{sv}av))").unpack()
    entries = []
    for child in layout[2]:
        ident, props, _ = child
        kind = props.get("type", "standard")
        entries.append({"id": ident, "label": props.get("label", ""), "type": kind,
                        "enabled": props.get("enabled", True),
                        "shortcut": props.get("shortcut", [])})
    report("menu", json.dumps(entries))
    second = entries[1]["id"]
    call(name, menu_path, dbusmenu, "Event",
         GLib.Variant("(isvu)", (second, "clicked", GLib.Variant("i", 0), 0)))
    report("clicked", second)


def on_call(conn, sender, path, iface, method, params, invocation):
    if method == "RegisterStatusNotifierItem":
        service = params.unpack()[0]
        name, item_path = (sender, service) if service.startswith("/") else (service,
                                                                            "/StatusNotifierItem")
        items.append(name + item_path)
        report("registered", name, item_path)
        conn.emit_signal(None, path, iface, "StatusNotifierItemRegistered",
                         GLib.Variant("(s)", (name + item_path,)))

        def later():
            try:
                act_as_panel(name, item_path)
            except GLib.Error as error:
                report("error", error.message)
            return False

        GLib.timeout_add(300, later)
    invocation.return_value(None)


def on_get(conn, sender, path, iface, key):
    if key == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", True)
    if key == "ProtocolVersion":
        return GLib.Variant("i", 0)
    if key == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", items)
    return None


node = Gio.DBusNodeInfo.new_for_xml(XML)
bus.register_object("/StatusNotifierWatcher", node.interfaces[0], on_call, on_get, None)
Gio.bus_own_name_on_connection(bus, WATCHER, Gio.BusNameOwnerFlags.NONE,
                               lambda *a: report("watcher ready"),
                               lambda *a: (report("watcher name lost"), sys.exit(1)))
GLib.MainLoop().run()
