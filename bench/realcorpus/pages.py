"""HTML pages that look like parts of a desktop: pop-up menus, toolbars, dialogs, articles,
--help text, tables, lists, code and codes beside text. Each page puts what it shows in
#crop; truth.js reads the text back as the browser laid it out."""
import html
import os
import re
import subprocess
from functools import lru_cache

HERE = os.path.dirname(os.path.abspath(__file__))

THEMES = {
    "light": dict(bg="#f6f5f4", fg="#2e3436", panel="#ffffff", border="#cdc7c2",
                  dim="#5e5c64", field="#ffffff", header="#ebebeb", stripe="#f3f3f3"),
    "dark": dict(bg="#242424", fg="#eeeeec", panel="#303030", border="#1b1b1b",
                 dim="#a8a8a8", field="#1e1e1e", header="#383838", stripe="#2a2a2a"),
}
ACCENTS = ["#3584e4", "#e66100", "#26a269", "#9141ac", "#c01c28", "#1c71d8"]

SANS = ["DejaVu Sans", "Noto Sans", "Liberation Sans", "Open Sans", "Roboto", "Cantarell",
        "Lato", "Inter"]
SERIF = ["DejaVu Serif", "Noto Serif", "Liberation Serif"]
MONO = ["DejaVu Sans Mono", "Liberation Mono", "Hack", "Fira Code", "Noto Sans Mono"]
CJK_FONTS = {
    "ja": ["Noto Sans CJK JP", "IPAGothic", "IPAPGothic", "IPAMincho", "Noto Serif CJK JP"],
    "zh-Hans": ["Noto Sans CJK SC", "WenQuanYi Zen Hei", "AR PL UMing CN", "Noto Serif CJK SC"],
    "zh-Hant": ["Noto Sans CJK TC", "AR PL UMing TW", "WenQuanYi Zen Hei", "Noto Serif CJK TC"],
    "ko": ["Noto Sans CJK KR", "NanumGothic", "NanumMyeongjo", "NanumBarunGothic"],
}
FC_LANG = {"ja": "ja", "zh-Hans": "zh-cn", "zh-Hant": "zh-tw", "ko": "ko", "ru": "ru",
           "uk": "uk"}


@lru_cache(maxsize=None)
def font_file(family):
    """The installed file of a family, or None when fontconfig substitutes another."""
    out = subprocess.run(["fc-match", "-f", "%{family}\t%{file}", family + ":style=Regular"],
                         capture_output=True, text=True).stdout
    families, _, path = out.partition("\t")
    return path if family in families.split(",") else None


@lru_cache(maxsize=None)
def covers(family, language):
    lang = FC_LANG.get(language)
    if not lang:
        return True
    out = subprocess.run(["fc-list", f":lang={lang}", "family"], capture_output=True,
                         text=True).stdout
    return any(family in line.split(",") for line in out.splitlines())


def fonts_for(language, kind):
    pool = {"sans": SANS, "serif": SERIF, "mono": MONO}[kind]
    if language in CJK_FONTS:
        pool = CJK_FONTS[language]
    return [f for f in pool if font_file(f) and covers(f, language)] or ["DejaVu Sans"]


def font_face(family):
    path = font_file(family)
    # A collection (.ttc) cannot be addressed by URL face; it is used by name.
    src = f"local('{family}')" if path.endswith(".ttc") else f"url('file://{path}')"
    return f"@font-face {{ font-family: 'W {family}'; src: {src}; }}\n"


def e(text):
    return html.escape(text, quote=True)


class Style:
    """How one image looks: theme, accent, font, size, device scale."""

    def __init__(self, rng, language, kind="sans"):
        self.theme = rng.choice(["light", "dark"])
        self.accent = rng.choice(ACCENTS)
        self.font = rng.choice(fonts_for(language, kind))
        self.mono = rng.choice(fonts_for("en", "mono"))
        self.size = rng.choice([12, 13, 14, 15, 16])
        self.scale = rng.choice([1, 2])
        self.language = language
        if language in CJK_FONTS:
            self.mono_stack = f"'W {self.mono}', '{CJK_FONTS[language][0]}'"
        else:
            self.mono_stack = f"'W {self.mono}', 'DejaVu Sans Mono'"

    def describe(self):
        return f"{self.theme} x{self.scale} {self.font} {self.size}px"


def page(style, body, css=""):
    t = THEMES[style.theme]
    fallback = CJK_FONTS.get(style.language, ["DejaVu Sans"])[0]
    with open(os.path.join(HERE, "truth.js"), encoding="utf-8") as f:
        script = f.read()
    return f"""<!DOCTYPE html><html lang="{style.language}"><head><meta charset="utf-8"><style>
{font_face(style.font)}{font_face(style.mono)}
:root {{ --bg: {t['bg']}; --fg: {t['fg']}; --panel: {t['panel']}; --border: {t['border']};
  --dim: {t['dim']}; --field: {t['field']}; --header: {t['header']}; --stripe: {t['stripe']};
  --accent: {style.accent}; }}
html, body {{ margin: 0; background: var(--bg); }}
body:not(.ready) #crop {{ visibility: hidden; }}
#crop {{ position: absolute; left: 0; top: 0; display: inline-block; color: var(--fg);
  font: {style.size}px 'W {style.font}', '{fallback}', 'DejaVu Sans';
  background: var(--bg); overflow-wrap: normal; }}
pre, code, .mono {{ font-family: {style.mono_stack}; }}
{css}
</style></head><body>{body}<script>{script}</script></body></html>"""


MENU_CSS = """
.menu { display: inline-block; background: var(--panel); border: 1px solid var(--border);
  border-radius: 6px; padding: 5px 0; box-shadow: 0 3px 12px rgba(0,0,0,.35); }
.item { display: flex; gap: 48px; justify-content: space-between; padding: 4px 22px 4px 30px;
  position: relative; white-space: nowrap; }
.item.hl { background: var(--accent); color: #ffffff; }
.item.checked::before { content: '\\2713'; position: absolute; left: 10px; }
.item.sub::after { content: '\\25B8'; position: absolute; right: 8px; }
.key { color: var(--dim); }
.hl .key { color: #ffffff; }
.item.off { color: var(--dim); }
.sep { height: 1px; background: var(--border); margin: 5px 0; }
"""


def menu(style, items, keys, rng):
    """A pop-up menu over a window, one item under the pointer."""
    rows = []
    highlight = rng.randrange(len(items))
    for i, label in enumerate(items):
        if i and rng.random() < 0.18:
            rows.append("<div class=sep></div>")
        classes = ["item"]
        if i == highlight:
            classes.append("hl")
        if rng.random() < 0.12:
            classes.append("checked")
        if rng.random() < 0.1 and i != highlight:
            classes.append("off")
        key = ""
        if rng.random() < 0.45:
            mods = rng.choice([["Ctrl"], ["Ctrl"], ["Ctrl", "Shift"], ["Alt"]])
            letter = rng.choice("ABCDEFGHIKLMNOPRSTUVWXZ")
            key = "+".join([keys[m] for m in mods] + [letter])
        elif rng.random() < 0.2:
            classes.append("sub")
        rows.append(f"<div class='{' '.join(classes)}'><span>{e(label)}</span>"
                    f"<span class=key>{e(key)}</span></div>")
    pad = f"{rng.randint(4, 30)}px {rng.randint(10, 50)}px {rng.randint(8, 30)}px {rng.randint(4, 30)}px"
    body = f"<div id=crop style='padding:{pad}'><div class=menu>{''.join(rows)}</div></div>"
    return page(style, body, MENU_CSS)


TOOLBAR_CSS = """
.bar { display: flex; align-items: center; gap: 6px; padding: 6px 8px; background: var(--header);
  border-bottom: 1px solid var(--border); white-space: nowrap; }
.btn { display: inline-flex; align-items: center; gap: 6px; padding: 5px 10px; border-radius: 5px; }
.btn.framed { border: 1px solid var(--border); background: var(--panel); }
.btn.icon::before { content: ''; width: 16px; height: 16px; border-radius: 3px;
  background: var(--dim); display: inline-block; }
.btn.round::before { border-radius: 8px; }
.vsep { width: 1px; height: 22px; background: var(--border); }
.search { border: 1px solid var(--border); background: var(--field); border-radius: 5px;
  padding: 4px 10px; min-width: 120px; color: var(--dim); }
"""


def toolbar(style, labels, rng, search=None):
    parts = []
    for i, label in enumerate(labels):
        if i and rng.random() < 0.2:
            parts.append("<span class=vsep></span>")
        classes = ["btn"] + (["framed"] if rng.random() < 0.5 else []) + \
            (["icon"] if rng.random() < 0.6 else []) + (["round"] if rng.random() < 0.3 else [])
        parts.append(f"<span class='{' '.join(classes)}'>{e(label)}</span>")
    if search:
        parts.append(f"<span class=search>{e(search)}</span>")
    body = f"<div id=crop><div class=bar>{''.join(parts)}</div></div>"
    return page(style, body, TOOLBAR_CSS)


DIALOG_CSS = """
.win { display: inline-block; background: var(--bg); border: 1px solid var(--border);
  border-radius: 8px 8px 0 0; width: WIDTHpx; }
.title { display: flex; align-items: center; justify-content: center; position: relative;
  background: var(--header); padding: 8px; font-weight: bold; border-bottom: 1px solid var(--border);
  border-radius: 8px 8px 0 0; }
.wb { position: absolute; top: 8px; width: 16px; height: 16px; border-radius: 8px;
  background: var(--border); }
.wb.close { right: 10px; } .wb.max { right: 34px; } .wb.min { right: 58px; }
.wb.close::before { content: '\\00D7'; position: absolute; left: 3px; top: -3px; font-size: 16px;
  color: var(--fg); font-weight: normal; }
.body { padding: 16px 18px; }
.msg { margin: 0 0 6px 0; font-weight: bold; }
.sub { margin: 0 0 14px 0; color: var(--dim); }
.row { display: flex; align-items: center; gap: 10px; margin: 8px 0; white-space: nowrap; }
.row .label { width: LABELpx; text-align: right; }
.field { flex: 1; border: 1px solid var(--border); background: var(--field); border-radius: 4px;
  padding: 4px 8px; overflow: hidden; }
.check { display: flex; gap: 8px; align-items: center; margin: 10px 0; white-space: nowrap; }
.check::before { content: ''; width: 14px; height: 14px; border: 1px solid var(--dim);
  border-radius: 3px; background: var(--field); }
.check.on::before { background: var(--accent); border-color: var(--accent); }
.buttons { display: flex; justify-content: flex-end; gap: 8px; padding: 10px 18px 14px; }
.buttons span { border: 1px solid var(--border); background: var(--panel); border-radius: 5px;
  padding: 5px 16px; }
.buttons span.default { background: var(--accent); color: #ffffff; border-color: var(--accent); }
"""


def dialog(style, title, message, detail, fields, checks, buttons, rng):
    rows = "".join(f"<div class=row><span class=label>{e(k)}</span>"
                   f"<span class=field>{e(v)}</span></div>" for k, v in fields)
    boxes = "".join(f"<div class='check{' on' if rng.random() < .5 else ''}'>{e(c)}</div>"
                    for c in checks)
    btns = "".join(f"<span{' class=default' if i == len(buttons) - 1 else ''}>{e(b)}</span>"
                   for i, b in enumerate(buttons))
    width = rng.choice([420, 460, 520, 580])
    label_width = max(60, min(180, max([len(k) for k, _ in fields] + [4]) * style.size * 0.6))
    css = DIALOG_CSS.replace("WIDTH", str(width)).replace("LABEL", str(int(label_width)))
    body = (f"<div id=crop style='padding:10px'><div class=win><div class=title>{e(title)}"
            f"<span class='wb min'></span><span class='wb max'></span><span class='wb close'></span>"
            f"</div><div class=body><p class=msg>{e(message)}</p><p class=sub>{e(detail)}</p>"
            f"{rows}{boxes}</div><div class=buttons>{btns}</div></div></div>")
    return page(style, body, css)


ARTICLE_CSS = """
.art { width: WIDTHpx; padding: 14px 18px; background: var(--panel); }
.art h2 { font-size: 1.35em; margin: 0 0 10px 0; }
.cols { display: flex; gap: 28px; text-align: ALIGN; }
.cols > div { flex: 1; }
.cols p { margin: 0 0 0.8em 0; }
"""


def split_columns(paragraphs, cjk=False):
    """The paragraphs in two columns of about as many words (CJK: characters) each; the
    paragraph at the boundary breaks there and goes on at the top of the right column."""
    sep = "" if cjk else " "
    words = [list(p) if cjk else p.split(" ") for p in paragraphs]
    half = sum(len(w) for w in words) // 2
    left, right, seen = [], [], 0
    for w in words:
        if seen >= half:
            right.append(sep.join(w))
        elif seen + len(w) <= half:
            left.append(sep.join(w))
        else:
            cut = half - seen
            left.append(sep.join(w[:cut]))
            right.append(sep.join(w[cut:]))
        seen += len(w)
    return left, right


def article(style, heading, paragraphs, rng):
    width = rng.choice([620, 700, 780, 860])
    align = rng.choice(["left", "left", "justify"])
    css = ARTICLE_CSS.replace("WIDTH", str(width)).replace("ALIGN", align)
    columns = []
    for part in split_columns(paragraphs, style.language in CJK_FONTS):
        columns.append("<div>" + "".join(f"<p>{e(p)}</p>" for p in part) + "</div>")
    body = (f"<div id=crop><div class=art><h2>{e(heading)}</h2><div class=cols>"
            f"{''.join(columns)}</div></div></div>")
    return page(style, body, css)


def prose(style, paragraphs, rng):
    width = rng.choice([480, 560, 640, 720])
    css = f".doc {{ width: {width}px; padding: 12px 16px; line-height: 1.45; }} .doc p {{ margin: 0 0 .7em 0; }}"
    paras = "".join(f"<p>{e(p)}</p>" for p in paragraphs)
    return page(style, f"<div id=crop><div class=doc>{paras}</div></div>", css)


PRE_CSS = """
.term { padding: 8px 12px; background: TERMBG; color: TERMFG; }
.term pre { margin: 0; font-size: 1em; line-height: 1.25; }
"""


def preformatted(style, lines, rng, terminal=False):
    if terminal:
        bg, fg = rng.choice([("#000000", "#d3d7cf"), ("#300a24", "#ffffff"), ("#ffffff", "#000000"),
                             ("#fdf6e3", "#657b83"), ("#1e1e1e", "#cccccc")])
    else:
        bg, fg = "var(--panel)", "var(--fg)"
    css = PRE_CSS.replace("TERMBG", bg).replace("TERMFG", fg)
    text = "\n".join(lines)
    return page(style, f"<div id=crop><div class=term><pre>{e(text)}</pre></div></div>", css)


CODE_KEYWORDS = re.compile(
    r"\b(if|else|for|while|return|def|class|import|from|static|const|struct|typedef|int|char|"
    r"void|unsigned|long|extern|include|define|ifdef|ifndef|endif|None|True|False|self|in|not|"
    r"and|or|try|except|with|as|pass|raise|lambda|yield|enum|union|sizeof)\b")


def highlight(line, colours):
    out, pos = [], 0
    comment = re.search(r"(#(?!\s*(include|define|if|endif|else|pragma)).*|//.*|/\*.*|^\s*\*.*)$",
                        line)
    end = comment.start() if comment else len(line)
    for m in CODE_KEYWORDS.finditer(line, 0, end):
        out.append(e(line[pos:m.start()]))
        out.append(f"<span style='color:{colours[0]}'>{e(m.group())}</span>")
        pos = m.end()
    out.append(e(line[pos:end]))
    if comment:
        out.append(f"<span style='color:{colours[1]}'>{e(line[end:])}</span>")
    return "".join(out)


def code(style, lines, rng):
    colours = ("#a626a4", "#7f848e") if style.theme == "light" else ("#c678dd", "#8a93a0")
    numbers = rng.random() < 0.5
    start = rng.randint(1, 400)
    rows = []
    for i, line in enumerate(lines):
        num = f"<span data-notext style='color:var(--dim)'>{start + i:4d}  </span>" if numbers else ""
        rows.append(num + highlight(line, colours))
    css = ".ed { padding: 8px 10px; background: var(--panel); } .ed pre { margin: 0; line-height: 1.35; }"
    return page(style, f"<div id=crop><div class=ed><pre>{chr(10).join(rows)}</pre></div></div>", css)


TABLE_CSS = """
table { border-collapse: collapse; background: var(--panel); }
th { background: var(--header); text-align: left; font-weight: bold; }
th, td { padding: 4px 12px; white-space: nowrap; BORDER }
tr:nth-child(even) td { background: STRIPE; }
"""


def table(style, header, rows, rng):
    grid = rng.random() < 0.5
    css = (TABLE_CSS.replace("BORDER", "border: 1px solid var(--border);" if grid else
                             "border-bottom: 1px solid var(--border);")
           .replace("STRIPE", "var(--stripe)" if rng.random() < 0.5 else "transparent"))
    head = "".join(f"<th>{e(h)}</th>" for h in header)
    body = "".join("<tr>" + "".join(f"<td>{e(c)}</td>" for c in row) + "</tr>" for row in rows)
    return page(style, f"<div id=crop style='padding:8px'><table><tr>{head}</tr>{body}</table></div>",
                css)


LIST_CSS = """
.list { display: inline-block; background: var(--panel); border: 1px solid var(--border);
  padding: 4px 0; min-width: MINpx; }
.list div { padding: 3px 14px; white-space: nowrap; }
.list div.sel { background: var(--accent); color: #fff; }
"""


def short_list(style, items, rng):
    selected = rng.randrange(len(items)) if rng.random() < 0.6 else -1
    css = LIST_CSS.replace("MIN", str(rng.choice([60, 100, 140])))
    rows = "".join(f"<div{' class=sel' if i == selected else ''}>{e(t)}</div>"
                   for i, t in enumerate(items))
    return page(style, f"<div id=crop style='padding:6px'><div class=list>{rows}</div></div>", css)


CODES_CSS = """
.card { display: flex; gap: 20px; align-items: center; padding: 16px; background: var(--panel);
  flex-direction: DIRECTION; }
.card img { image-rendering: pixelated; }
.card .text p { margin: 0 0 6px 0; max-width: 420px; }
"""


def codes(style, images, lines, rng, below=False):
    """QR codes or barcodes beside (or below) a few lines of text; no text at all when
    `lines` is empty."""
    module = rng.choice([3, 4, 5])
    css = CODES_CSS.replace("DIRECTION", "column" if below else "row")
    # `images`: (path, width and height in modules); each module becomes `module` CSS
    # pixels. The height is given too: the layout is read back before the image loads.
    imgs = "".join(f"<img src='file://{p}' style='width:{w * module}px; height:{h * module}px'>"
                   for p, w, h in images)
    text = "".join(f"<p>{e(t)}</p>" for t in lines)
    inner = f"<div class=text>{text}</div>{imgs}" if below else f"{imgs}<div class=text>{text}</div>"
    if not lines:
        inner = imgs
    return page(style, f"<div id=crop><div class=card>{inner}</div></div>", css)


def _luminance(rgb):
    def channel(c):
        c /= 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((_luminance(a), _luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def _hsl(h, s, light):
    import colorsys
    return tuple(round(c * 255) for c in colorsys.hls_to_rgb(h, light, s))


def faint_pair(rng):
    """A panel colour and a text colour of the same or a near hue that stand 1.2:1 to 2:1
    apart, the text darker or lighter than the panel."""
    ratio = rng.uniform(1.2, 2.0)
    hue = rng.random()
    saturation = rng.uniform(0.25, 0.8)
    darker_text = rng.random() < 0.5
    panel_light = rng.uniform(0.55, 0.8) if darker_text else rng.uniform(0.2, 0.4)
    panel = _hsl(hue, saturation, panel_light)
    text_hue = (hue + rng.uniform(-0.08, 0.08)) % 1
    # The text's side of the panel only: the other side has a second, wrong answer.
    lo, hi = (0.0, panel_light) if darker_text else (panel_light, 1.0)
    for _ in range(40):  # the text's lightness that gives the ratio, by bisection
        mid = (lo + hi) / 2
        c = contrast(panel, _hsl(text_hue, saturation, mid))
        if darker_text:
            lo, hi = (mid, hi) if c > ratio else (lo, mid)
        else:
            lo, hi = (lo, mid) if c > ratio else (mid, hi)
    text = _hsl(text_hue, saturation, (lo + hi) / 2)
    return panel, text, contrast(panel, text)


def hex_colour(rgb):
    return "#%02x%02x%02x" % rgb


FAINT_CSS = """
.faint { padding: 12px 16px; margin: 0; max-width: 560px; }
.faint p { margin: 0 0 6px 0; }
.faint h3 { margin: 0 0 8px 0; font-size: 1.1em; }
"""


def faint(style, panels, rng):
    """Panels of text in a colour close to their own (a disabled form, a watermark-like
    note, a badge): `panels` is a list of (heading, lines); each gets its own colours."""
    parts = []
    ratios = []
    for heading, lines in panels:
        background, colour, ratio = faint_pair(rng)
        ratios.append(ratio)
        head = f"<h3>{e(heading)}</h3>" if heading else ""
        text = "".join(f"<p>{e(t)}</p>" for t in lines)
        parts.append(f"<div class=faint style='background:{hex_colour(background)};"
                     f"color:{hex_colour(colour)}'>{head}{text}</div>")
    body = f"<div id=crop style='padding:{rng.randint(0, 12)}px'>{''.join(parts)}</div>"
    return page(style, body, FAINT_CSS), ratios


WINDOW_CSS = """
.win { display: inline-block; background: var(--bg); border: 1px solid var(--border);
  width: WIDTHpx; }
.title { display: flex; align-items: center; justify-content: TITLE_ALIGN; position: relative;
  height: TITLE_Hpx; padding: 0 10px; font-size: 0.85em; font-weight: bold; color: TITLE_FG;
  background: TITLE_BG; }
.wbs { position: absolute; right: 6px; top: 0; bottom: 0; display: flex; align-items: center;
  gap: 4px; }
.wb { width: BUTTONpx; height: BUTTONpx; position: relative; display: inline-block; }
.wb.circle { border-radius: 50%; background: BUTTON_BG; }
.wb.square { border: 1px solid TITLE_FG; border-radius: 2px; }
.wb.min::before { content: ''; position: absolute; left: 25%; right: 25%; bottom: 28%;
  height: 2px; background: TITLE_FG; }
.wb.max::before { content: ''; position: absolute; left: 25%; right: 25%; top: 25%; bottom: 25%;
  border: 1px solid TITLE_FG; border-top-width: 2px; }
.wb.close::before { content: '\\00D7'; position: absolute; left: 0; right: 0; top: 50%;
  transform: translateY(-52%); text-align: center; font-size: BUTTONpx; line-height: 1;
  font-weight: normal; color: TITLE_FG; }
.body { padding: 14px 18px; }
.group { border: 1px solid var(--dim); border-radius: GROUP_Rpx; padding: 6px 12px 8px;
  margin: 0 0 12px 0; }
.group legend { padding: 0 LEGEND_PADpx; }
.boxed { border: 1px solid var(--dim); padding: 1px 3px; display: inline-block; }
.opt { display: flex; gap: 8px; align-items: center; margin: 7px 0; white-space: nowrap; }
.opt::before { content: ''; width: 14px; height: 14px; border: 1px solid var(--dim);
  background: var(--field); flex: none; }
.opt.check::before { border-radius: 3px; }
.opt.radio::before { border-radius: 50%; }
.opt.check.on::before { content: '\\2713'; font-size: 12px; line-height: 14px; text-align: center;
  background: var(--accent); border-color: var(--accent); color: #fff; }
.opt.radio.on::before { background: radial-gradient(circle, var(--accent) 0 35%, var(--field) 40%); }
.buttons { display: flex; justify-content: flex-end; gap: 8px; padding: 8px 18px 12px; }
.buttons span { border: 1px solid var(--border); background: var(--panel); border-radius: 4px;
  padding: 4px 16px; }
"""


def window(style, title, options, groups, caption, buttons, rng):
    """A dialog window with the decorations a window manager and a toolkit draw: a title
    bar (flat or in gradients) with its buttons, check boxes and radio buttons beside
    their labels, group boxes whose frame runs through their captions, a caption boxed
    by a frame line just around it. `groups`: (caption, labels); `options`: labels."""
    light = style.theme == "light"
    top, bottom = (("#dcdcdc", "#b8b8b8") if light else ("#4a4a4a", "#2c2c2c"))
    gradient = rng.choice(["flat", "linear", "two"])
    if gradient == "flat":
        title_bg = "var(--header)"
    elif gradient == "linear":
        title_bg = f"linear-gradient({top}, {bottom})"
    else:
        middle = "#c8c8c8" if light else "#3a3a3a"
        title_bg = f"linear-gradient({top}, {middle} 50%, {bottom} 50%, {bottom})"
    accent_title = rng.random() < 0.3
    if accent_title:
        title_bg = f"linear-gradient({style.accent}, {style.accent}cc)"
    title_fg = "#ffffff" if accent_title or not light else "#2e3436"
    shape = rng.choice(["circle", "square", "bare"])
    button = rng.choice([12, 14, 16, 18])
    css = (WINDOW_CSS.replace("WIDTH", str(rng.choice([420, 480, 540])))
           .replace("TITLE_ALIGN", rng.choice(["center", "flex-start"]))
           .replace("TITLE_H", str(rng.choice([20, 24, 30])))
           .replace("TITLE_FG", title_fg).replace("TITLE_BG", title_bg)
           .replace("BUTTON_BG", "rgba(0,0,0,.25)" if light else "rgba(255,255,255,.18)")
           .replace("BUTTON", str(button)).replace("GROUP_R", str(rng.choice([0, 4])))
           .replace("LEGEND_PAD", str(rng.choice([0, 2, 4]))))
    wbs = "".join(f"<span class='wb {'' if shape == 'bare' else shape} {k}'></span>"
                  for k in ("min", "max", "close"))
    parts = []
    for group_caption, labels in groups:
        kind = rng.choice(["check", "radio"])
        chosen = rng.randrange(len(labels))
        rows = "".join(
            f"<div class='opt {kind}{' on' if (i == chosen if kind == 'radio' else rng.random() < .5) else ''}'>"
            f"{e(label)}</div>" for i, label in enumerate(labels))
        parts.append(f"<fieldset class=group><legend>{e(group_caption)}</legend>{rows}</fieldset>")
    parts += [f"<div class='opt check{' on' if rng.random() < .5 else ''}'>{e(o)}</div>"
              for o in options]
    if caption:
        parts.append(f"<div style='margin:10px 0'><span class=boxed>{e(caption)}</span></div>")
    btns = "".join(f"<span>{e(b)}</span>" for b in buttons)
    body = (f"<div id=crop style='padding:{rng.randint(0, 10)}px'><div class=win>"
            f"<div class=title>{e(title)}<span class=wbs>{wbs}</span></div>"
            f"<div class=body>{''.join(parts)}</div><div class=buttons>{btns}</div></div></div>")
    return page(style, body, css)
