"""Text for the screen corpus, taken from files Debian installs: message catalogues (.mo),
man pages, licences, iso-codes tables and source files. Nothing here is written for the
test. Every piece of text remembers the file it came from, and the files are split once
into a tuning part and a held-out part (see `part_of`)."""
import gettext
import glob
import gzip
import hashlib
import json
import os
import re
import subprocess
import unicodedata

# The split rule. Within each group of source files of one kind and one language, files are
# ordered by the SHA-256 of this seed and their path; the first third (at least one, when
# the group has two or more) is held out. Changing the seed or the rule makes new figures
# incomparable with old ones: don't.
SPLIT_SEED = "glintext-screens-2026"


def split_key(path):
    return hashlib.sha256((SPLIT_SEED + ":" + path).encode()).hexdigest()


def split_group(paths):
    """{path: "tune" | "held-out"} for one group of source files."""
    ordered = sorted(set(paths), key=split_key)
    held = (len(ordered) + 2) // 3 if len(ordered) >= 2 else 0
    return {p: ("held-out" if i < held else "tune") for i, p in enumerate(ordered)}


# language: LANGUAGE value on the desktop, gettext folders, Tesseract model, man folder
LANGUAGES = {
    "en": dict(desktop="en", locales=[], model="eng", man=""),
    "de": dict(desktop="de", locales=["de"], model="deu", man="de"),
    "fr": dict(desktop="fr", locales=["fr"], model="fra", man="fr"),
    "es": dict(desktop="es", locales=["es"], model="spa", man="es"),
    "it": dict(desktop="it", locales=["it"], model="ita", man="it"),
    "pt": dict(desktop="pt_BR", locales=["pt_BR", "pt"], model="por", man="pt_BR"),
    "nl": dict(desktop="nl", locales=["nl"], model="nld", man="nl"),
    "sv": dict(desktop="sv", locales=["sv"], model="swe", man="sv"),
    "ru": dict(desktop="ru", locales=["ru"], model="rus", man="ru"),
    "uk": dict(desktop="uk", locales=["uk"], model="ukr", man="uk"),
    "ja": dict(desktop="ja", locales=["ja"], model="jpn", man="ja"),
    "zh-Hans": dict(desktop="zh_CN", locales=["zh_CN"], model="chi_sim", man="zh_CN"),
    "zh-Hant": dict(desktop="zh_TW", locales=["zh_TW"], model="chi_tra", man="zh_TW"),
    "ko": dict(desktop="ko", locales=["ko"], model="kor", man="ko"),
}
CJK = {"ja", "zh-Hans", "zh-Hant", "ko"}

UI_CATALOGUES = ["gtk30", "gtk30-properties", "gtk20", "gtk20-properties", "glib20", "gcr",
                 "gnome-keyring", "PackageKit", "appstream", "avahi", "gdk-pixbuf",
                 "gsettings-desktop-schemas", "gstreamer-1.0", "apt", "dpkg"]
HELP_CATALOGUES = ["coreutils", "grep", "findutils", "diffutils", "sed", "tar", "wget",
                   "gettext-tools", "gettext-runtime", "dpkg", "gnupg2", "bash"]
ISO_TABLES = {"iso_3166-1": ("3166-1", "alpha_2", "alpha_3"),
              "iso_639-2": ("639-2", "alpha_3", "bibliographic"),
              "iso_4217": ("4217", "alpha_3", "numeric"),
              "iso_15924": ("15924", "alpha_4", "numeric")}


class Piece:
    """Some text and the file it came from."""

    def __init__(self, source, kind, language, items):
        self.source, self.kind, self.language, self.items = source, kind, language, items


def clean_label(text):
    text = text.replace("_", "").replace("&", "").strip()
    return re.sub(r"\s+", " ", text)


def is_cjk_char(ch):
    o = ord(ch)
    return (0x3040 <= o <= 0x30FF or 0x3400 <= o <= 0x9FFF or 0xF900 <= o <= 0xFAFF
            or 0xAC00 <= o <= 0xD7AF)


def script_ok(text, language):
    """Text a catalogue left untranslated (English in a Japanese catalogue) says nothing
    about that language's script."""
    if language in CJK:
        return any(is_cjk_char(c) for c in text)
    if language in ("ru", "uk"):
        return any("\u0400" <= c <= "\u04ff" for c in text)
    return True


def catalogue(path):
    with open(path, "rb") as f:
        return {k: v for k, v in gettext.GNUTranslations(f)._catalog.items()
                if isinstance(k, str) and k and v}


def catalogue_path(language, name):
    for loc in LANGUAGES[language]["locales"] or ["de"]:
        p = f"/usr/share/locale/{loc}/LC_MESSAGES/{name}.mo"
        if os.path.exists(p):
            return p
    return None


def entries(language, name):
    """(source id, [(english, translated)]) of one catalogue; English reads the ids of
    the German catalogue."""
    path = catalogue_path(language, name)
    if not path:
        return None, []
    pairs = []
    for key, value in catalogue(path).items():
        english = key.split("\x04")[-1]
        pairs.append((english, english if language == "en" else value))
    source = f"msgid:{name}" if language == "en" else path
    return source, pairs


UNWANTED = re.compile(r"[%<>{}\\$@|]|\n|https?:|\.\.\.$|^\W|[:;]$")


def ui_labels(language):
    """Short interface labels: 1 to 4 words, no format strings or markup."""
    pieces = []
    for name in UI_CATALOGUES:
        source, pairs = entries(language, name)
        labels = []
        for english, text in pairs:
            if UNWANTED.search(english) or UNWANTED.search(text):
                continue
            label = clean_label(text)
            words = label.split()
            if not (1 <= len(english.split()) <= 4 and 2 <= len(label) <= 32):
                continue
            if language not in CJK and len(words) > 5:
                continue
            if not script_ok(label, language) or not label[0].isalnum():
                continue
            labels.append(label)
        if len(labels) >= 12:
            pieces.append(Piece(source, "ui", language, sorted(set(labels))))
    return pieces


def sentences(language):
    """Whole sentences of interface text (dialog messages, descriptions)."""
    pieces = []
    for name in UI_CATALOGUES + ["coreutils", "grep", "findutils"]:
        source, pairs = entries(language, name)
        found = []
        for english, text in pairs:
            if "%" in text or "\n" in text or "<" in text or "\\" in text:
                continue
            text = clean_label(text)
            minimum = 14 if language in CJK else 40
            if minimum <= len(text) <= 160 and script_ok(text, language) and \
                    text[0].isalpha():
                found.append(text)
        if len(found) >= 8:
            pieces.append(Piece(source, "sentences", language, sorted(set(found))))
    return pieces


def keyboard_names(language):
    """The desktop's own names of Ctrl, Shift and Alt in this language (GTK's catalogue)."""
    names = {"Ctrl": "Ctrl", "Shift": "Shift", "Alt": "Alt"}
    path = catalogue_path(language, "gtk30")
    if language != "en" and path:
        cat = catalogue(path)
        for key in names:
            names[key] = cat.get("keyboard label\x04" + key, key)
    return names


OPTION_LINE = re.compile(r"^\s{1,8}(-\w|--\w)")


def help_texts(language):
    """--help output as the programs print it: usage lines and option tables."""
    pieces = []
    for name in HELP_CATALOGUES:
        source, pairs = entries(language, name)
        blocks = []
        for english, text in pairs:
            lines = text.expandtabs(8).rstrip("\n").split("\n")
            options = [line for line in lines if OPTION_LINE.match(line)]
            if len(options) < 3 or "%" in text or len(lines) > 24:
                continue
            if not script_ok(text, language):
                continue
            if max(len(line) for line in lines) > 84:
                continue
            blocks.append([line.rstrip() for line in lines])
        if len(blocks) >= 2:
            pieces.append(Piece(source, "help", language, blocks))
    return pieces


def render_man(path, width=76):
    env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", MANWIDTH=str(width),
               MAN_KEEP_FORMATTING="0")
    try:
        out = subprocess.run(["man", "-E", "UTF-8", "--nh", "--nj", "-l", path], env=env,
                             capture_output=True, timeout=20).stdout.decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        return []
    out = re.sub(r".\x08", "", out)
    return [line.rstrip() for line in out.split("\n")]


def man_pages(language, limit=60):
    folder = LANGUAGES[language]["man"]
    base = f"/usr/share/man/{folder}/man1" if folder else "/usr/share/man/man1"
    paths = sorted(glob.glob(base + "/*.1.gz"))
    # A fixed, spread choice: every n-th page, so the pool is not all 'a...'.
    step = max(1, len(paths) // limit)
    return [Piece(p, "man", language, None) for p in paths[::step][:limit]]


def man_text(piece):
    if piece.items is None:
        piece.items = render_man(piece.source)
    return piece.items


def paragraphs_of_man(lines, language):
    """The running text of a man page, one string per paragraph."""
    paras, current = [], []
    for line in lines[3:]:
        stripped = line.strip()
        if not stripped or not line.startswith(" ") or re.match(r"^\s{1,9}-", line):
            if current:
                paras.append(" ".join(current))
            current = []
            continue
        current.append(stripped)
    if current:
        paras.append(" ".join(current))
    if language in CJK:
        # Man pages break CJK text with spaces at the line ends: joined without them.
        paras = [re.sub(r"(?<=[^\x00-\x7f]) (?=[^\x00-\x7f])", "", p) for p in paras]
    minimum = 40 if language in CJK else 120
    return [p for p in paras if len(p) >= minimum and script_ok(p, language)]


def licences():
    pieces = []
    for path in sorted(glob.glob("/usr/share/common-licenses/*")):
        if os.path.islink(path) or os.path.isdir(path):
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        paras = [re.sub(r"\s+", " ", p).strip() for p in re.split(r"\n\s*\n", text)]
        paras = [p for p in paras if len(p) >= 160 and not p.isupper()]
        if len(paras) >= 3:
            pieces.append(Piece(path, "prose", "en", paras))
    return pieces


def iso_tables(language):
    pieces = []
    for name, (std, code_key, extra_key) in ISO_TABLES.items():
        with open(f"/usr/share/iso-codes/json/{name}.json", encoding="utf-8") as f:
            rows = json.load(f)[std]
        path = catalogue_path(language, name) if language != "en" else None
        translated = catalogue(path) if path else {}
        if language != "en" and not translated:
            continue
        table = []
        for row in rows:
            english = row.get("name", "")
            if not english or len(english) > 34:
                continue
            local = translated.get(english, english) if language != "en" else \
                row.get("official_name", row.get(extra_key, ""))
            if language != "en" and not script_ok(local, language):
                continue
            table.append([row.get(code_key, ""), english, local, row.get(extra_key, "")])
        if len(table) >= 12:
            source = path or f"/usr/share/iso-codes/json/{name}.json"
            pieces.append(Piece(source, "table", language, table))
    return pieces


def source_files(limit=80):
    paths = sorted(glob.glob("/usr/include/*.h")) + sorted(glob.glob("/usr/lib/python3*/*.py"))
    step = max(1, len(paths) // limit)
    pieces = []
    for path in paths[::step]:
        try:
            with open(path, encoding="utf-8") as f:
                lines = [line.rstrip().expandtabs(4) for line in f]
        except (UnicodeDecodeError, OSError):
            continue
        if len(lines) >= 40 and all(ord(c) < 128 for line in lines for c in line):
            pieces.append(Piece(path, "code", "en", lines))
    return pieces


def normal(text):
    return unicodedata.normalize("NFC", text)
