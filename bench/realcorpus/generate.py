#!/usr/bin/env python3
"""Renders the screen corpus: pages drawn by Debian's Chromium (headless, device scale 1
and 2, light and dark, web fonts from Debian's font packages) and real toolkit windows
under Xvfb (Qt widgets, GTK widgets, xterm showing real `man` output), in every language
the engine reads. Text comes from files Debian installs (sources.py); the source files are
split once into a tuning part and a held-out part. The kinds `faint` (text 1.2:1 to 2:1
against its coloured panel, in either polarity) and `window` (title bars flat or in
gradients with their buttons, check boxes, radio buttons, group frames through their
captions) came later; each image's look and text depend on its name alone, so they can be
made on their own beside a corpus generated before (`--only faint,window --no-windows`).

    bench/realcorpus/generate.py OUTDIR [--build DIR] [--only CATEGORY,...] [--no-windows]
                                 [--names NAME,...]

Writes OUTDIR/<name>.png, OUTDIR/<name>.txt and OUTDIR/manifest.tsv: name, category,
LANGUAGE value, tesseract -l value, code payloads (U+001F between), part, source file,
style. Needs `scripts/install-deps.sh --bench`."""
import argparse
import concurrent.futures
import hashlib
import html as htmlmod
import json
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import ink  # noqa: E402
import pages  # noqa: E402
import sources  # noqa: E402
import windows  # noqa: E402

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                  "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                  "--allow-file-access-from-files", "--font-render-hinting=none"]


def rng_for(name):
    return random.Random(int(hashlib.sha256(name.encode()).hexdigest()[:16], 16))


class Item:
    def __init__(self, name, category, language, part, source):
        self.name, self.category, self.language = name, category, language
        self.part, self.source = part, source
        self.codes, self.style, self.truth, self.html = [], "", None, None
        self.tess = None
        self.window = None  # a toolkit window to show instead of a page


def run_chromium(args, profile):
    return subprocess.run(["chromium"] + CHROMIUM_FLAGS + [f"--user-data-dir={profile}"] + args,
                          capture_output=True, timeout=120)


def layout(path, profile, scale, shot=None):
    """The page as the browser lays it out at the screenshot's device scale (line heights
    round to device pixels, so lines may break elsewhere at another scale): its truth, the
    crop's size and the boxes of the words and images the truth holds (truth.js). `shot`:
    the size in CSS pixels of a screenshot taken before, to leave out what it cuts off."""
    url = "file://" + path + (f"?width={shot[0]}&height={shot[1]}" if shot else "")
    # Font loading is real time, not the page's virtual time: on a busy machine the DOM
    # may be dumped before the text was read back. Try again, longer.
    for budget in (4000, 10000, 30000):
        dom = run_chromium([f"--virtual-time-budget={budget}", "--window-size=1800,2400",
                            f"--force-device-scale-factor={scale}", "--dump-dom", url],
                           profile).stdout.decode("utf-8")
        m = re.search(r'<pre id="truth"[^>]*data-width="(\d+)" data-height="(\d+)"[^>]*>'
                      r'(.*?)</pre><pre id="boxes"[^>]*>(.*?)</pre>', dom, re.S)
        if m:
            break
    else:
        raise RuntimeError("no text read back")
    truth = htmlmod.unescape(m.group(3))
    boxes = json.loads(htmlmod.unescape(m.group(4)))
    return truth, int(m.group(1)), int(m.group(2)), boxes


def render_page(item, out):
    """Two passes with the same layout: the first reads the text, the crop's size and the
    words' boxes back, the second takes the screenshot at that size, again until every
    word and image of the truth has ink where the page lays it out."""
    path = os.path.join(out, "pages", item.name + ".html")
    with open(path, "w", encoding="utf-8") as f:
        f.write(item.html)
    profile = tempfile.mkdtemp(prefix="glintext-chromium-")
    try:
        scale = int(re.search(r"x(\d)", item.style).group(1))
        item.truth, width, height, boxes = layout(path, profile, scale)
        png = os.path.join(out, item.name + ".png")
        missing = ["no screenshot"]
        # Some window sizes leave tiles of the page unpainted, the same ones every time
        # (a band under a dark page's top, a block of an article): later tries take the
        # screenshot in a larger window and cut the crop out of it.
        for budget, margin in ((4000, 0), (10000, 0), (10000, 160), (30000, 1000)):
            if os.path.exists(png):
                os.remove(png)
            run_chromium([f"--virtual-time-budget={budget}",
                          f"--window-size={width + margin},{height + margin}",
                          f"--force-device-scale-factor={scale}", f"--screenshot={png}",
                          "file://" + path], profile)
            if margin and os.path.exists(png):
                subprocess.run(["convert", png, "-crop", f"{width * scale}x{height * scale}+0+0",
                                "+repage", png], check=True)
            if os.path.exists(png) and colours(png) > 1:
                missing = ink.unpainted(png, boxes, scale)
                if not missing:
                    break
        else:
            raise RuntimeError("no screenshot with the page drawn: " + " ".join(missing[:8]))
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def colours(path):
    out = subprocess.run(["identify", "-format", "%k", path], capture_output=True, text=True)
    return int(out.stdout or 0)


def png_size(path):
    with open(path, "rb") as f:
        return struct.unpack(">II", f.read(24)[16:24])


def make_code(build, kind, payload, folder, name):
    path = os.path.join(folder, name + ".png")
    subprocess.run([os.path.join(build, "bench", "glintext-corpus"), "--code", kind, payload, path],
                   check=True, capture_output=True)
    return (path,) + png_size(path)


def pick(pool, rng, count):
    pool = list(pool)
    rng.shuffle(pool)
    return pool[:count]


def window_of(lines, rng, count):
    """`count` consecutive non-empty-ish lines from a random place."""
    if len(lines) <= count:
        return lines
    for _ in range(20):
        start = rng.randrange(0, len(lines) - count)
        chunk = lines[start:start + count]
        if sum(1 for line in chunk if line and (not isinstance(line, str) or line.strip())) >= count * 2 // 3:
            return chunk
    return lines[:count]


class Builder:
    def __init__(self, out, build):
        self.out, self.build = out, build
        self.items = []
        self.cache = {}
        self.licence_urls = self.urls()

    def urls(self):
        found = set()
        for piece in sources.licences():
            for p in piece.items:
                found.update(re.findall(r"https?://[\w./-]+[\w/]", p))
        return sorted(u for u in found if len(u) < 60)

    def pool(self, kind, language):
        key = (kind, language)
        if key not in self.cache:
            loader = {
                "ui": sources.ui_labels, "sentences": sources.sentences,
                "help": sources.help_texts, "table": sources.iso_tables,
                "man": sources.man_pages,
                "prose": lambda lang: sources.licences() if lang == "en" else [],
                "code": lambda lang: sources.source_files() if lang == "en" else [],
            }[kind]
            pieces = loader(language)
            parts = sources.split_group([p.source for p in pieces])
            self.cache[key] = {part: [p for p in pieces if parts[p.source] == part]
                               for part in ("tune", "held-out")}
        return self.cache[key]

    def add(self, category, language, part, index, make):
        name = f"{category}-{language}-{'h' if part == 'held-out' else 't'}{index}"
        rng = rng_for(name)
        item = make(name, rng, part)
        if item is None:
            return
        info = sources.LANGUAGES[language]
        item.language = info["desktop"]
        if item.tess is None:
            item.tess = info["model"]
        self.items.append(item)

    def man_paragraphs(self, language, part, rng, minimum=3):
        pieces = self.pool("man", language)[part]
        for piece in pick(pieces, rng, len(pieces)):
            paras = sources.paragraphs_of_man(sources.man_text(piece), language)
            if len(paras) >= minimum:
                lines = sources.man_text(piece)
                heading = next((l.strip() for l in lines[3:12] if l.strip() and l.startswith(" ")),
                               os.path.basename(piece.source))
                return piece, heading, paras
        return None, None, None


def menu_item(b, language):
    def make(name, rng, part):
        pieces = b.pool("ui", language)[part]
        if not pieces:
            return None
        piece = rng.choice(pieces)
        style = pages.Style(rng, language)
        labels = pick(piece.items, rng, rng.randint(6, 11))
        item = Item(name, "menu", language, part, piece.source)
        item.style = style.describe()
        item.html = pages.menu(style, labels, sources.keyboard_names(language), rng)
        return item
    return make


def toolbar_item(b, language):
    def make(name, rng, part):
        pieces = b.pool("ui", language)[part]
        if not pieces:
            return None
        piece = rng.choice(pieces)
        short = [l for l in piece.items if len(l) <= 16]
        if len(short) < 4:
            return None
        style = pages.Style(rng, language)
        labels = pick(short, rng, rng.randint(3, 6))
        item = Item(name, "toolbar", language, part, piece.source)
        item.style = style.describe()
        item.html = pages.toolbar(style, labels, rng)
        return item
    return make


BUTTONS = ["_Cancel", "_OK", "_Close", "_Apply", "_Save", "_Open", "_Yes", "_No"]


def dialog_item(b, language):
    def make(name, rng, part):
        ui = b.pool("ui", language)[part]
        said = b.pool("sentences", language)[part]
        if not ui or not said:
            return None
        piece = rng.choice(ui)
        texts = rng.choice(said)
        style = pages.Style(rng, language)
        labels = pick(piece.items, rng, 8)
        sentence = pick(texts.items, rng, 2)
        _, pairs = sources.entries(language, "gtk30") if "gtk30" in piece.source else (None, [])
        known = {k: sources.clean_label(v) for k, v in pairs}
        buttons = [known[k] for k in ("_Cancel", "_OK") if k in known] or labels[6:8]
        fields = [(labels[i], labels[i + 3]) for i in range(rng.randint(1, 3))]
        checks = labels[4:4 + rng.randint(0, 2)]
        title = labels[5] if len(labels) > 5 else labels[0]
        item = Item(name, "dialog", language, part, f"{piece.source} {texts.source}")
        item.style = style.describe()
        item.html = pages.dialog(style, title, sentence[0], sentence[-1], fields, checks, buttons, rng)
        return item
    return make


def article_item(b, language, columns):
    def make(name, rng, part):
        if language == "en" and rng.random() < 0.5:
            pieces = b.pool("prose", "en")[part]
            piece = rng.choice(pieces) if pieces else None
            paras = piece.items if piece else None
            heading = paras[0][:60].rsplit(" ", 1)[0] if paras else None
        else:
            piece, heading, paras = b.man_paragraphs(language, part, rng)
        if not piece:
            return None
        kind = "serif" if rng.random() < 0.35 and language not in sources.CJK else "sans"
        style = pages.Style(rng, language, kind)
        start = rng.randrange(max(1, len(paras) - 3))
        budget = 900 if language not in sources.CJK else 420
        chosen, size = [], 0
        for p in paras[start:]:
            chosen.append(p)
            size += len(p)
            if size > budget * (1 if columns == 1 else 1.3):
                break
        category = "article" if columns == 2 else "prose"
        item = Item(name, category, language, part, piece.source)
        item.style = style.describe()
        item.html = (pages.article(style, heading, chosen, rng) if columns == 2
                     else pages.prose(style, chosen, rng))
        return item
    return make


def help_item(b, language):
    def make(name, rng, part):
        pieces = b.pool("help", language)[part]
        if not pieces:
            return None
        piece = rng.choice(pieces)
        blocks = pick(piece.items, rng, 2)
        lines = [l for block in blocks for l in block][:26]
        style = pages.Style(rng, language, "mono")
        item = Item(name, "help", language, part, piece.source)
        item.style = style.describe()
        item.html = pages.preformatted(style, lines, rng, terminal=rng.random() < 0.5)
        return item
    return make


def table_item(b, language):
    def make(name, rng, part):
        pieces = b.pool("table", language)[part]
        if not pieces:
            return None
        piece = rng.choice(pieces)
        rows = window_of(piece.items, rng, rng.randint(6, 12))
        style = pages.Style(rng, language)
        if language == "en":
            header = ["Code", "Name", "Official name", "Number"]
            body = [r for r in rows]
        else:
            header = ["Code", "English", language, "#"]
            body = [[r[0], r[1], r[2], r[3]] for r in rows]
        item = Item(name, "table", language, part, piece.source)
        item.style = style.describe()
        item.html = pages.table(style, header, body, rng)
        if language in sources.CJK or language in ("ru", "uk"):
            item.tess = sources.LANGUAGES[language]["model"] + "+eng"
        return item
    return make


def cjk_list_item(b, language):
    def make(name, rng, part):
        tables = [p for p in b.pool("table", language)[part] if "3166" in p.source]
        ui = b.pool("ui", language)[part]
        candidates = []
        for piece in tables:
            candidates.append((piece, [r[2] for r in piece.items if len(r[2]) <= 8]))
        for piece in ui:
            candidates.append((piece, [l for l in piece.items if len(l) <= 6]))
        candidates = [c for c in candidates if len(c[1]) >= 8]
        if not candidates:
            return None
        piece, texts = rng.choice(candidates)
        style = pages.Style(rng, language)
        item = Item(name, "cjk-list", language, part, piece.source)
        item.style = style.describe()
        item.html = pages.short_list(style, pick(texts, rng, rng.randint(5, 10)), rng)
        return item
    return make


def code_item(b):
    def make(name, rng, part):
        pieces = b.pool("code", "en")[part]
        if not pieces:
            return None
        piece = rng.choice(pieces)
        lines = [l for l in window_of(piece.items, rng, rng.randint(10, 20)) if len(l) <= 90]
        style = pages.Style(rng, "en", "mono")
        item = Item(name, "code", "en", part, piece.source)
        item.style = style.describe()
        item.html = pages.code(style, lines, rng)
        return item
    return make


def codes_item(b, language):
    def make(name, rng, part):
        said = b.pool("sentences", language)[part]
        if not said:
            return None
        texts = rng.choice(said)
        style = pages.Style(rng, language)
        layout = rng.choice(["one", "one", "two", "alone", "below", "bar"])
        folder = os.path.join(b.out, "pages")
        payloads = pick(b.licence_urls, rng, 2)
        images = [make_code(b.build, "qr", payloads[0], folder, name + "-a")]
        codes = [payloads[0]]
        if layout in ("two", "alone"):
            images.append(make_code(b.build, "qr", payloads[1], folder, name + "-b"))
            codes.append(payloads[1])
        if layout == "bar":
            payload = "".join(rng.choice("ABCDEFGHJKLMNPQRSTUVWXYZ0123456789") for _ in range(10))
            images = [make_code(b.build, "code128", payload, folder, name + "-c")]
            codes = [payload]
        lines = [] if layout == "alone" else pick(texts.items, rng, rng.randint(1, 3))
        item = Item(name, "codes", language, part, texts.source)
        item.style = style.describe()
        item.codes = codes
        item.html = pages.codes(style, images, lines, rng, below=layout == "below")
        return item
    return make


def faint_item(b, language):
    """Text in a colour close to its panel's (1.2:1 to 2:1), in either polarity."""
    def make(name, rng, part):
        ui = b.pool("ui", language)[part]
        said = b.pool("sentences", language)[part]
        if not ui or not said:
            return None
        piece, texts = rng.choice(ui), rng.choice(said)
        style = pages.Style(rng, language)
        panels = [(rng.choice(piece.items), pick(texts.items, rng, rng.randint(1, 3)))
                  for _ in range(rng.randint(1, 3))]
        item = Item(name, "faint", language, part, f"{piece.source} {texts.source}")
        item.html, ratios = pages.faint(style, panels, rng)
        item.style = style.describe() + " contrast " + "/".join(f"{r:.2f}" for r in ratios)
        return item
    return make


def window_item(b, language):
    """A dialog window with title-bar buttons, check boxes, radio buttons and frames."""
    def make(name, rng, part):
        pieces = b.pool("ui", language)[part]
        if not pieces:
            return None
        piece = rng.choice(pieces)
        labels = pick([l for l in piece.items if len(l) <= 40], rng, 12)
        if len(labels) < 8:
            return None
        style = pages.Style(rng, language)
        groups = [(labels[1], labels[2:2 + rng.randint(2, 3)])] if rng.random() < 0.7 else []
        options = labels[5:5 + rng.randint(1, 3)]
        caption = labels[8] if rng.random() < 0.6 else None
        _, pairs = sources.entries(language, "gtk30") if "gtk30" in piece.source else (None, [])
        known = {k: sources.clean_label(v) for k, v in pairs}
        buttons = [known[k] for k in ("_Cancel", "_OK") if k in known] or labels[10:12]
        item = Item(name, "window", language, part, piece.source)
        item.style = style.describe()
        item.html = pages.window(style, labels[0], options, groups, caption, buttons, rng)
        return item
    return make


CATEGORIES = ["menu", "toolbar", "dialog", "article", "prose", "help", "table", "cjk-list",
              "code", "codes", "faint", "window"]


def plan(b, only):
    for language in sources.LANGUAGES:
        per_part = 2 if language in sources.CJK or language == "en" else 1
        makers = {
            "menu": menu_item(b, language), "toolbar": toolbar_item(b, language),
            "dialog": dialog_item(b, language), "article": article_item(b, language, 2),
            "prose": article_item(b, language, 1), "help": help_item(b, language),
            "table": table_item(b, language), "codes": codes_item(b, language),
            "faint": faint_item(b, language), "window": window_item(b, language),
        }
        if language in sources.CJK:
            makers["cjk-list"] = cjk_list_item(b, language)
        if language == "en":
            makers["code"] = code_item(b)
        for category, make in makers.items():
            if only and category not in only:
                continue
            count = per_part * (2 if category == "code" else 1)
            for part in ("tune", "held-out"):
                for i in range(1, count + 1):
                    b.add(category, language, part, i, make)


def finish(item, out):
    if item.tess is None:
        item.tess = "eng"
    truth = sources.normal(item.truth.strip())
    model = item.tess
    if model not in ("eng",) and "+" not in model and re.search(r"[A-Za-z]{3,}", truth) and \
            model in ("jpn", "chi_sim", "chi_tra", "kor", "rus", "ukr"):
        # Latin words in a non-Latin page: the right models are both.
        item.tess = model + "+eng"
    with open(os.path.join(out, item.name + ".txt"), "w", encoding="utf-8") as f:
        f.write(truth + "\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "..", "build"))
    ap.add_argument("--only", default="")
    ap.add_argument("--no-windows", action="store_true")
    ap.add_argument("--names", default="",
                    help="only these images (comma-separated), as the full run makes them")
    args = ap.parse_args()
    out = os.path.abspath(args.out)
    os.makedirs(os.path.join(out, "pages"), exist_ok=True)
    only = set(filter(None, args.only.split(",")))
    b = Builder(out, os.path.abspath(args.build))
    plan(b, only)
    names = set(filter(None, args.names.split(",")))
    if names:
        b.items = [i for i in b.items if i.name in names]
    pages_to_render = [i for i in b.items if i.html]
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        failures = [f for f in pool.map(lambda i: try_render(i, out), pages_to_render) if f]
    for f in failures:
        print(f, file=sys.stderr)
    items = [i for i in b.items if i.truth is not None]
    if not args.no_windows:
        def make_item(name, category, language, part, source):
            item = Item(name, category, sources.LANGUAGES[language]["desktop"], part, source)
            item.tess = sources.LANGUAGES[language]["model"]
            return item
        items += windows.render_all(b, make_item, only, names)
    with open(os.path.join(out, "manifest.tsv"), "w", encoding="utf-8") as m:
        for item in items:
            finish(item, out)
            m.write("\t".join([item.name, item.category, item.language, item.tess,
                               "\x1f".join(item.codes), item.part, item.source, item.style]) + "\n")
    print(f"{len(items)} images in {out}")


def try_render(item, out):
    try:
        render_page(item, out)
    except Exception as exc:  # a page that failed is left out and reported
        item.truth = None  # the text may have been read back before the screenshot failed
        return f"{item.name}: {exc}"
    return None


if __name__ == "__main__":
    main()
