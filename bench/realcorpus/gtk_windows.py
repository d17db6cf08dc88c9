#!/usr/bin/python3
"""Shows one real GTK 3 window (a dialog with a button row, or a list with a column
header) on DISPLAY, grabs it with the window manager's frame and writes the texts it
shows as lines, from the widgets' allocations.

    gtk_windows.py dialog|list OUT.png TITLE FONT PX TEXT...

dialog: message, detail, "label<TAB>value" rows, "[x] check" boxes, "(button)" buttons.
list: the column header, then the rows. Dark themes come from GTK_THEME."""
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402


def collect(widget, out):
    if not widget.get_visible() or not widget.get_mapped():
        return
    text = None
    if isinstance(widget, Gtk.Label):
        text = widget.get_text()
    elif isinstance(widget, Gtk.Entry):
        text = widget.get_text()
    if text:
        x, y = widget.translate_coordinates(widget.get_toplevel(), 0, 0)
        a = widget.get_allocation()
        out.append((y, y + a.height, x, text))
    if isinstance(widget, Gtk.Container):
        for child in widget.get_children():
            collect(child, out)


def lines(texts):
    texts.sort(key=lambda t: (t[0] + t[1]) / 2)
    rows = []
    for t in texts:
        if rows:
            last = rows[-1][0]
            overlap = min(last[1], t[1]) - max(last[0], t[0])
            if overlap * 2 > min(last[1] - last[0], t[1] - t[0]):
                rows[-1].append(t)
                continue
        rows.append([t])
    return "\n".join(" ".join(" ".join(t[3].split()) for t in sorted(r, key=lambda t: t[2]))
                     for r in rows)


def dialog(title, texts):
    win = Gtk.Window(title=title)
    box = Gtk.Box(orientation=Gtk.Orientation.VERTICAL, spacing=8, margin=16)
    win.add(box)
    message = Gtk.Label(xalign=0)
    message.set_markup("<b>" + GLib.markup_escape_text(texts[0]) + "</b>")
    box.add(message)
    box.add(Gtk.Label(label=texts[1], xalign=0))
    grid = Gtk.Grid(column_spacing=10, row_spacing=6)
    box.add(grid)
    buttons = Gtk.Box(spacing=8, halign=Gtk.Align.END, margin_top=12)
    row = 0
    for t in texts[2:]:
        if t.startswith("[x] "):
            check = Gtk.CheckButton(label=t[4:])
            check.set_active(len(t) % 2 == 1)
            box.add(check)
        elif t.startswith("(") and t.endswith(")"):
            button = Gtk.Button(label=t[1:-1])
            if len(buttons.get_children()) == 1:
                button.get_style_context().add_class("suggested-action")
            buttons.add(button)
        else:
            label, _, value = t.partition("\t")
            grid.attach(Gtk.Label(label=label, xalign=1), 0, row, 1, 1)
            entry = Gtk.Entry(text=value, width_chars=max(12, len(value) + 2))
            grid.attach(entry, 1, row, 1, 1)
            row += 1
    box.add(buttons)
    return win


def listing(title, texts):
    win = Gtk.Window(title=title)
    store = Gtk.ListStore(str)
    for t in texts[1:]:
        store.append([t])
    view = Gtk.TreeView(model=store)
    view.append_column(Gtk.TreeViewColumn(texts[0], Gtk.CellRendererText(), text=0))
    view.get_selection().select_path(Gtk.TreePath(len(texts) // 3))
    win.add(view)
    return win, view


def main():
    kind, out, title, font, px = sys.argv[1:6]
    texts = sys.argv[6:]
    settings = Gtk.Settings.get_default()
    settings.set_property("gtk-font-name", f"{font} {int(px) * 3 // 4}")
    view = None
    if kind == "dialog":
        win = dialog(title, texts)
    else:
        win, view = listing(title, texts)
    win.move(40, 40)
    win.show_all()

    def grab():
        gdk_window = win.get_window()
        frame = gdk_window.get_frame_extents()
        root = Gdk.get_default_root_window()
        shot = Gdk.pixbuf_get_from_window(root, frame.x, frame.y, frame.width, frame.height)
        shot.savev(out, "png", [], [])
        found = []
        collect(win, found)
        if view is not None:
            # Rows of the list, from the view's own geometry.
            column = view.get_column(0)
            header = column.get_button().get_allocation()
            found.append((header.y, header.y + header.height, 0, texts[0]))
            for i, t in enumerate(texts[1:]):
                r = view.get_cell_area(Gtk.TreePath(i), column)
                x, y = view.convert_bin_window_to_widget_coords(r.x, r.y)
                found.append((y, y + r.height, x, t))
        found.append((-1000, -999, 0, title))
        with open(out[:-4] + ".txt", "w", encoding="utf-8") as f:
            f.write(lines(found) + "\n")
        Gtk.main_quit()
        return False

    GLib.timeout_add(900, grab)
    Gtk.main()


if __name__ == "__main__":
    main()
