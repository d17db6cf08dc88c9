#!/usr/bin/python3
"""Checks a screen corpus generated before against what its pages show, every image of
both parts alike: the page is laid out again from its name (the same source, style and
seed) at the screenshot's device scale, and

- `unpainted`: a word or code of the truth has no ink where the page lays it out (a tile
  the browser left unpainted);
- `truth`: the truth the generator makes now differs from the stored one (text clipped by
  its box, covered by another element or beyond the screenshot; box-drawing characters,
  which the page draws as rules; lines broken where the page at scale 1 broke them);
- `narrow`: the screenshot's window (sized from a layout at scale 1) is narrower than the
  page at its own scale, so its lines wrap where the truth does not say;
- `layout`: the page made now is not the page of the screenshot (another size, or text
  that is not the stored truth less what the page hides; its source changed): not checked;
- `scrolled`: a terminal's text needs more rows than the terminal has;
- a terminal wider than the screen (80 columns in a large CJK font) whose truth holds the
  columns the screen cuts off is a `truth` fault too.

    bench/realcorpus/check.py CORPUS [--build DIR] [--names NAME,...] [--fix]

Prints one line per faulty image (name, part, fault, detail). With --fix, pages with
unpainted words or a narrow window are rendered again (generate.py's retries) and other
truth faults get the truth the generator makes now; CORPUS/CHANGED.tsv lists what was
done. The images
are never judged by a reading of them."""
import argparse
import concurrent.futures
import functools
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import generate  # noqa: E402
import ink  # noqa: E402
import sources  # noqa: E402
import windows  # noqa: E402

WINDOWS = ("qt-menu", "qt-dialog", "qt-table", "gtk-dialog", "gtk-list", "terminal")


def manifest(corpus):
    with open(os.path.join(corpus, "manifest.tsv"), encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def terminal_rows(truth):
    """The rows of the terminal the lines take, long lines wrapped."""
    return sum(max(1, -(-windows.columns(line) // windows.TERMINAL[0]))
               for line in truth.split("\n"))


@functools.lru_cache(maxsize=None)
def terminal_width(font, size):
    return windows.terminal_width(font, size)


def check_terminal(builder, row, png, stored):
    """A terminal's text needs no more rows than it has, and its truth holds only the
    columns the screen shows of it. The lines are made again (the stored truth lost the
    first line's indentation, which the columns count)."""
    name, style = row[0], row[7]
    language = name[len("terminal-"):].rsplit("-", 1)[0]
    lines = windows.terminal_lines(builder, name, language, row[5])
    if not lines or sources.normal("\n".join(lines).strip()) + "\n" != stored:
        return "layout", "the terminal made now shows other lines (its source changed)", None
    rows = terminal_rows("\n".join(lines))
    if rows > windows.TERMINAL[1]:
        return "scrolled", f"{rows} rows in a terminal of {windows.TERMINAL[1]}", None
    words = style.split()
    font, size = " ".join(words[3:-1]), int(words[-1][:-2])
    width, shown = terminal_width(font, size), generate.png_size(png)[0]
    if width <= shown:
        return None, "", None
    visible = windows.visible_columns(width, shown)
    new = sources.normal("\n".join(windows.shown_columns(lines, visible)).strip()) + "\n"
    if new == stored:
        return None, "", None
    gone = len(squeeze(stored)) - len(squeeze(new))
    return "truth", (f"terminal {width} px wide on a screen that shows {shown}: "
                     f"{visible:.1f} of {windows.TERMINAL[0]} columns, {gone} characters the "
                     "page does not show"), new


def squeeze(text):
    """The text without spaces and box-drawing characters."""
    return "".join(c for c in text if not c.isspace() and not 0x2500 <= ord(c) <= 0x257F)


def within(short, long):
    """Whether `short` is `long` with some characters left out."""
    rest = iter(long)
    return all(c in rest for c in short)


def truth_change(old, new):
    """A short description of how the stored truth differs from the page's."""
    kinds = []
    if any(0x2500 <= ord(c) <= 0x257F for c in old):
        kinds.append("box-drawing characters drawn as rules")
    if squeeze(old) != squeeze(new):
        gone = len(squeeze(old)) - len(squeeze(new))
        kinds.append(f"{gone} characters the page does not show" if gone > 0 else
                     f"{-gone} characters more shown")
    elif old.split() != new.split() or not kinds:
        kinds.append("lines broken where the page breaks them")
    return "; ".join(kinds)


class Checker:
    def __init__(self, corpus, build):
        self.corpus = corpus
        self.work = tempfile.mkdtemp(prefix="glintext-check-")
        os.makedirs(os.path.join(self.work, "pages"))
        self.builder = generate.Builder(self.work, build)
        rows = manifest(corpus)
        generate.plan(self.builder, {row[1] for row in rows if row[1] not in WINDOWS} or {"-"})
        self.items = {item.name: item for item in self.builder.items}

    def close(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def check(self, row):
        """(fault, detail, new truth or None) for one manifest row, fault None when sound."""
        name, category = row[0], row[1]
        png = os.path.join(self.corpus, name + ".png")
        stored = read(png[:-4] + ".txt")
        if category == "terminal":
            return check_terminal(self.builder, row, png, stored)
        if category in WINDOWS:
            return None, "toolkit window: not checked", None
        item = self.items.get(name)
        if item is None:
            return "layout", "the generator no longer makes this page", None
        path = os.path.join(self.work, "pages", name + ".html")
        with open(path, "w", encoding="utf-8") as f:
            f.write(item.html)
        scale = int(row[7].split()[1][1:])
        width, height = generate.png_size(png)
        profile = tempfile.mkdtemp(prefix="glintext-chromium-", dir=self.work)
        try:
            truth, w, h, boxes = generate.layout(path, profile, scale,
                                                 (width // scale, height // scale))
        finally:
            shutil.rmtree(profile, ignore_errors=True)
        if abs(w * scale - width) > 8 * scale:
            return "layout", f"laid out {w * scale} px wide, the screenshot {width}", None
        if w * scale > width:
            # The window was sized from a layout at scale 1: at the page's own scale it was
            # too narrow, and the page wrapped its lines where no layout here can see.
            return "narrow", (f"{w * scale} px wide at its scale, shot in a window "
                              f"{width} px wide"), None
        new = sources.normal(truth.strip()) + "\n"
        if not within(squeeze(new), squeeze(stored)):
            # Leaving out what the page does not show only takes characters away.
            return "layout", "the page made now holds other text (its source changed)", None
        missing = ink.unpainted(png, boxes, scale)
        if missing:
            return "unpainted", f"{len(missing)} words or codes without ink: " + \
                " ".join(missing[:12]), new
        if new != stored:
            return "truth", truth_change(stored, new), new
        return None, "", None


def rerender(checker, row):
    """The page rendered again as generate.py renders it; (png, truth) in the work folder."""
    item = checker.items[row[0]]
    generate.render_page(item, checker.work)
    generate.finish(item, checker.work)
    return os.path.join(checker.work, item.name + ".png"), item


def fix(checker, corpus, results):
    rows = {row[0]: row for row in manifest(corpus)}
    changed = []
    for row, (fault, detail, new) in results:
        name = row[0]
        txt = os.path.join(corpus, name + ".txt")
        if fault in ("unpainted", "narrow"):
            try:
                png, item = rerender(checker, row)
            except RuntimeError as exc:
                changed.append((name, f"{fault} ({detail})", f"left as it was: {exc}"))
                continue
            for suffix in (".png", ".txt"):
                target = os.path.join(corpus, name + suffix)
                if os.path.islink(target):
                    os.remove(target)  # never write through to a corpus linked from
                shutil.copyfile(png[:-4] + suffix, target)
            rows[name][3] = item.tess
            changed.append((name, f"{fault} ({detail})", "rendered again with the same "
                            "source, style and seed; truth from that render"))
        elif fault == "truth":
            if os.path.islink(txt):
                os.remove(txt)
            with open(txt, "w", encoding="utf-8") as f:
                f.write(new)
            how = ("truth cut to the columns the screen shows" if row[1] == "terminal" else
                   "truth made again from the page's layout at its scale")
            changed.append((name, f"truth ({detail})", how + "; image kept"))
        elif fault == "layout":
            changed.append((name, f"not checked ({detail})", "left as it was"))
    with open(os.path.join(corpus, "manifest.tsv"), "w", encoding="utf-8") as f:
        for row in rows.values():
            f.write("\t".join(row) + "\n")
    with open(os.path.join(corpus, "CHANGED.tsv"), "a", encoding="utf-8") as f:
        for entry in changed:
            f.write("\t".join(entry) + "\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("corpus")
    ap.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "..", "build"))
    ap.add_argument("--names", default="")
    ap.add_argument("--fix", action="store_true")
    args = ap.parse_args()
    corpus = os.path.abspath(args.corpus)
    names = set(filter(None, args.names.split(",")))
    rows = [row for row in manifest(corpus) if not names or row[0] in names]
    checker = Checker(corpus, os.path.abspath(args.build))
    try:
        with concurrent.futures.ThreadPoolExecutor(2) as pool:
            results = list(zip(rows, pool.map(checker.check, rows)))
        for row, (fault, detail, _) in results:
            if fault:
                print("\t".join([row[0], row[5], fault, detail]), flush=True)
        print(f"{sum(1 for _, r in results if r[0])} of {len(results)} images faulty",
              file=sys.stderr)
        if args.fix:
            fix(checker, corpus, [(row, r) for row, r in results if r[0]])
    finally:
        checker.close()


if __name__ == "__main__":
    main()
