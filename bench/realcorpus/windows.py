"""Real toolkit windows for the screen corpus, under a private Xvfb with openbox: Qt
widgets (Fusion; menus, dialogs, tables), GTK 3 widgets (Adwaita light and dark; dialogs
and lists) and xterm showing real `man` output. Each program grabs its own window from
the screen and writes the truth beside the image."""
import os
import random
import re
import shutil
import subprocess
import tempfile
import time
import unicodedata

import sources
import titles
from titles import png_width

HERE = os.path.dirname(os.path.abspath(__file__))
TERMINAL_COLOURS = [("#000000", "#d3d7cf"), ("#ffffff", "#000000"), ("#300a24", "#eeeeec"),
                    ("#fdf6e3", "#586e75"), ("#1e1e1e", "#cccccc")]
TERMINAL = (80, 24)  # the xterm's columns and rows
XTERM_BORDER = 2
TERMINAL_FONTS = {"ja": "Noto Sans Mono CJK JP", "zh-Hans": "Noto Sans Mono CJK SC",
                  "zh-Hant": "Noto Sans Mono CJK TC", "ko": "Noto Sans Mono CJK KR"}


class Desktop:
    """Xvfb on a display it picks itself, with openbox managing windows."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="glintext-windows-")
        display = next(str(n) for n in range(140, 400)
                       if not os.path.exists(f"/tmp/.X{n}-lock")
                       and not os.path.exists(f"/tmp/.X11-unix/X{n}"))
        self.xvfb = subprocess.Popen(["Xvfb", ":" + display, "-screen", "0", "1600x1200x24",
                                      "-nolisten", "tcp"],
                                     stderr=open(os.path.join(self.dir, "xvfb.log"), "w"))
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{display}"):
                break
            time.sleep(0.05)
        self.env = dict(os.environ, DISPLAY=":" + display, HOME=self.dir,
                        XDG_CONFIG_HOME=self.dir + "/.config", NO_AT_BRIDGE="1")
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            check = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                   capture_output=True, text=True).stdout
            if "window" in check:
                break
            time.sleep(0.05)
        # openbox announces itself before it manages windows.
        time.sleep(1.0)

    def close(self):
        for p in (self.wm, self.xvfb):
            p.terminate()
            p.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


def run(desktop, command, extra_env, timeout=30):
    env = dict(desktop.env, **extra_env)
    subprocess.run(command, env=env, capture_output=True, timeout=timeout)


def qt_texts(kind, b, language, part, rng):
    ui = b.pool("ui", language)[part]
    said = b.pool("sentences", language)[part]
    if not ui or not said:
        return None
    piece = rng.choice(ui)
    labels = [l for l in piece.items if len(l) <= 28]
    rng.shuffle(labels)
    if len(labels) < 10:
        return None
    keys = sources.keyboard_names(language)
    source = piece.source
    if kind == "menu":
        hot = rng.randrange(7)
        texts = []
        for i, label in enumerate(labels[:rng.randint(6, 9)]):
            if i and rng.random() < 0.15:
                texts.append("-")
            shortcut = f"Ctrl+{rng.choice('BDEFGHKLMNOPRTUY')}" if rng.random() < 0.4 else ""
            texts.append(("*" if i == hot else "") + label + ("\t" + shortcut if shortcut else ""))
        del keys
        return labels[0], texts, source
    if kind in ("dialog", "gtk-dialog"):
        sentence = rng.choice(said)
        lines = [s for s in sentence.items if len(s) <= 70]
        if len(lines) < 2:
            return None
        rng.shuffle(lines)
        _, pairs = sources.entries(language, "gtk30")
        known = {k: sources.clean_label(v) for k, v in pairs}
        texts = [lines[0], lines[1]]
        for i in range(rng.randint(1, 3)):
            texts.append(labels[2 + i] + "\t" + labels[6 + i])
        for i in range(rng.randint(0, 2)):
            texts.append("[x] " + labels[9 - i])
        texts += [f"({known.get('_Cancel', 'Cancel')})", f"({known.get('_OK', 'OK')})"]
        return labels[1], texts, f"{source} {sentence.source}"
    return None


def table_texts(b, language, part, rng, with_header=True):
    tables = b.pool("table", language)[part]
    if not tables:
        return None
    piece = rng.choice(tables)
    start = rng.randrange(max(1, len(piece.items) - 10))
    rows = piece.items[start:start + rng.randint(6, 9)]
    if language == "en":
        return ["Code\tName\tNumber"] + [f"{r[0]}\t{r[1]}\t{r[3]}" for r in rows], piece.source
    return ["Code\tEnglish\t" + language] + [f"{r[0]}\t{r[1]}\t{r[2]}" for r in rows], piece.source


def man_lines(b, language, part, rng):
    pieces = b.pool("man", language)[part]
    for piece in sorted(pieces, key=lambda p: rng.random()):
        lines = sources.render_man(piece.source, width=78)
        lines = [l for l in lines if len(l) <= 78]
        if len(lines) < 30:
            continue
        start = rng.randrange(0, min(len(lines) - 22, 40))
        chunk = lines[start:start + 22]
        if sum(1 for l in chunk if l.strip()) >= 12 and (language not in sources.CJK or any(
                sources.is_cjk_char(c) for l in chunk for c in l)):
            return chunk, piece.source
    return None, None


def columns(text):
    """The terminal columns `text` takes: East Asian wide characters two, marks none."""
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else
               0 if unicodedata.combining(c) else 1 for c in text)


def shown_columns(lines, visible):
    """Each line cut where the screen's edge cuts the terminal, `visible` columns in: a
    character counts when most of it shows."""
    out = []
    for line in lines:
        kept, column = [], 0
        for c in line:
            width = columns(c)
            if column + width / 2 > visible:
                break
            kept.append(c)
            column += width
        out.append("".join(kept).rstrip())
    return out


def window_width(env, window):
    """The width of an X window as its client asked for it, also where the screen cuts it."""
    info = subprocess.run(["xwininfo", "-id", window], env=env, capture_output=True,
                          text=True).stdout
    return int(re.search(r"Width: (\d+)", info).group(1))


def terminal_command(font, size, bg, fg, title, command):
    return ["xterm", "-u8", "-fa", font, "-fs", str(size), "-bg", bg, "-fg", fg, "-geometry",
            f"{TERMINAL[0]}x{TERMINAL[1]}+40+40", "-title", title, "-e", "sh", "-c", command]


def find_window(env, title):
    for _ in range(60):
        window = subprocess.run(["xdotool", "search", "--name", title], env=env,
                                capture_output=True, text=True).stdout.split()
        if window:
            return window[0]
        time.sleep(0.1)
    return None


def visible_columns(window_px, shown_px):
    """How many of the terminal's columns a grab `shown_px` wide holds of a window
    `window_px` wide (xterm's 2 px inner border each side)."""
    cell = (window_px - 2 * XTERM_BORDER) / TERMINAL[0]
    return (shown_px - XTERM_BORDER) / cell


def xterm(desktop, out, name, lines, rng, language, scale):
    """An xterm showing `lines`; its truth is the lines as far as the screen shows them (a
    large CJK font makes 80 columns wider than the screen, which cuts the window)."""
    text_file = os.path.join(desktop.dir, name + ".man")
    with open(text_file, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    bg, fg = rng.choice(TERMINAL_COLOURS)
    font = TERMINAL_FONTS.get(language, rng.choice(["DejaVu Sans Mono", "Liberation Mono",
                                                     "Noto Sans Mono"]))
    size = rng.choice([9, 10, 11]) * scale
    png = os.path.join(out, name + ".png")
    env = dict(desktop.env, LC_ALL="C.UTF-8", LANG="C.UTF-8")
    term = subprocess.Popen(terminal_command(font, size, bg, fg, name,
                                             f"cat '{text_file}'; sleep 20"), env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shown = lines
    try:
        window = find_window(env, name)
        time.sleep(0.8)
        if window:
            # The terminal's own area: what a selection over the text would hold.
            subprocess.run(["import", "-window", window, png], env=env, capture_output=True)
            if os.path.exists(png):
                visible = visible_columns(window_width(env, window), png_width(png))
                shown = shown_columns(lines, visible)
    finally:
        term.kill()
        term.wait()
    return f"{fg} on {bg} {font} {size}pt", "\n".join(shown)


def terminal_width(font, size):
    """The width of the generator's xterm in `font` at `size`, on a screen of its own."""
    desktop = Desktop()
    try:
        title = f"glintext-measure-{os.getpid()}"
        term = subprocess.Popen(terminal_command(font, size, "#000000", "#ffffff", title,
                                                 "sleep 20"), env=desktop.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = find_window(desktop.env, title)
            time.sleep(0.5)
            return window_width(desktop.env, window)
        finally:
            term.kill()
            term.wait()
    finally:
        desktop.close()


def render_all(b, make_item, only, names=()):
    """Items for every toolkit window (or those in `names`); `make_item(name, category,
    language, part, source)`."""
    wanted = lambda c: not only or c in only  # noqa: E731
    desktop = Desktop()
    qt = os.path.join(b.build, "bench", "glintext-qt-windows")
    items = []
    try:
        for language in sources.LANGUAGES:
            for part in ("tune", "held-out"):
                for category in ("qt-menu", "qt-dialog", "qt-table", "gtk-dialog", "gtk-list",
                                 "terminal"):
                    if not wanted(category):
                        continue
                    name = f"{category}-{language}-{'h' if part == 'held-out' else 't'}1"
                    if names and name not in names:
                        continue
                    rng = random.Random(name)
                    item = render_one(desktop, b, qt, category, language, part, name, rng,
                                      make_item)
                    if item:
                        items.append(item)
    finally:
        desktop.close()
    return items


def window_look(rng, language):
    """A toolkit window's device scale, theme, text size and font, drawn from its `rng`."""
    scale = rng.choice([1, 2])
    dark = rng.random() < 0.5
    px = rng.choice([12, 13, 14, 15])
    font = rng.choice(["Noto Sans", "DejaVu Sans", "Cantarell", "Liberation Sans"])
    if language in sources.CJK:
        font = {"ja": "Noto Sans CJK JP", "zh-Hans": "Noto Sans CJK SC",
                "zh-Hant": "Noto Sans CJK TC", "ko": "Noto Sans CJK KR"}[language]
    return scale, dark, px, font


def terminal_lines(b, name, language, part):
    """The lines the terminal `name` shows, as render_one picks them (for checks)."""
    rng = random.Random(name)
    window_look(rng, language)
    return man_lines(b, language, part, rng)[0]


def render_one(desktop, b, qt, category, language, part, name, rng, make_item):
    out = b.out
    png = os.path.join(out, name + ".png")
    scale, dark, px, font = window_look(rng, language)
    style = f"{'dark' if dark else 'light'} x{scale} {font} {px}px"
    if category == "terminal":
        lines, source = man_lines(b, language, part, rng)
        if not lines:
            return None
        style, truth = xterm(desktop, out, name, lines, rng, language, scale)
        with open(png[:-4] + ".txt", "w", encoding="utf-8") as f:
            f.write(truth + "\n")
    elif category.startswith("qt-"):
        kind = category[3:]
        if kind == "table":
            found = table_texts(b, language, part, rng)
            if not found:
                return None
            texts, source = found
            title = os.path.basename(source)
        else:
            found = qt_texts(kind, b, language, part, rng)
            if not found:
                return None
            title, texts, source = found
        run(desktop, [qt, kind, png, title, font, str(px), "1" if dark else "0"] + texts,
            {"QT_SCALE_FACTOR": str(scale), "QT_QPA_PLATFORM": "xcb"})
    else:
        if category == "gtk-dialog":
            found = qt_texts("gtk-dialog", b, language, part, rng)
            if not found:
                return None
            title, texts, source = found
            kind = "dialog"
        else:
            found = table_texts(b, language, part, rng)
            if not found:
                return None
            rows, source = found
            column = 2 if language != "en" else 1
            texts = [rows[0].split("\t")[column]] + [r.split("\t")[column] for r in rows[1:]]
            title = os.path.basename(source)
            kind = "list"
        run(desktop, ["/usr/bin/python3", os.path.join(HERE, "gtk_windows.py"), kind, png, title,
                      font, str(px)] + texts,
            {"GDK_SCALE": str(scale), "GTK_THEME": "Adwaita:dark" if dark else "Adwaita"})
    if not os.path.exists(png) or not os.path.exists(png[:-4] + ".txt"):
        return None
    if category in titles.FRAMED:
        titles.drop_hidden_title(png, title)
    item = make_item(name, category, language, part, source)
    with open(png[:-4] + ".txt", encoding="utf-8") as f:
        item.truth = f.read()
    item.style = style
    return item
