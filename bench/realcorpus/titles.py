#!/usr/bin/python3
"""Whether openbox shows a window's whole title, for the truth of toolkit windows.

openbox (theme Clearlooks, layout NLIMC, title font sans bold 8 pt) centres the title on
the frame; when the centred title would run into the buttons at the right it is cut with
an ellipsis ("iso_3....mo", or "..." alone in a narrow window). Such a title is not on the
page, so it is not in the truth. Measured on the corpus: the three buttons and their
padding take 59 px at the right (a title cut to "iso_3....mo"
in a frame 180 px wide fills 62 px), so a centred title fits in the frame's width less twice
that.

    bench/realcorpus/titles.py --patch CORPUS   # drops hidden titles from existing truths
"""
import os
import struct
import sys

import gi

gi.require_version("Pango", "1.0")
gi.require_version("PangoCairo", "1.0")
from gi.repository import Pango, PangoCairo  # noqa: E402

BUTTONS_WIDTH = 59
FRAMED = ("qt-dialog", "qt-table", "gtk-dialog", "gtk-list")


def title_width(title):
    """The title's width in pixels in openbox's font (96 dpi, as Xvfb reports)."""
    context = PangoCairo.FontMap.get_default().create_context()
    PangoCairo.context_set_resolution(context, 96)
    layout = Pango.Layout.new(context)
    layout.set_font_description(Pango.FontDescription.from_string("sans bold 8"))
    layout.set_text(title, -1)
    return layout.get_pixel_size()[0]


def title_shown(title, frame_width):
    return title_width(title) <= frame_width - 2 * BUTTONS_WIDTH


def png_width(path):
    with open(path, "rb") as f:
        return struct.unpack(">I", f.read(24)[16:20])[0]


def drop_hidden_title(png, title):
    """Removes the title from the truth beside `png` (its first line) when openbox cut it."""
    truth = png[:-4] + ".txt"
    with open(truth, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if not lines or lines[0] != title or title_shown(title, png_width(png)):
        return False
    with open(truth, "w", encoding="utf-8") as f:
        f.write("\n".join(lines[1:]))
    return True


def patch(corpus):
    """The same rule applied to a corpus generated before it, both parts alike. A framed
    window's truth starts with its title; a marker keeps a second run from taking the next
    line for one."""
    marker = os.path.join(corpus, "titles-patched")
    if os.path.exists(marker):
        sys.exit(f"{corpus} was patched already")
    with open(os.path.join(corpus, "manifest.tsv"), encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    for row in rows:
        name, category = row[0], row[1]
        if category not in FRAMED:
            continue
        png = os.path.join(corpus, name + ".png")
        with open(png[:-4] + ".txt", encoding="utf-8") as f:
            first = f.readline().rstrip("\n")
        if drop_hidden_title(png, first):
            print(f"{name}: title {first!r} is cut by the window manager; dropped from the truth")
    open(marker, "w").close()


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] != "--patch":
        sys.exit(__doc__)
    patch(sys.argv[2])
