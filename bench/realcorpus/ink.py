"""Whether a screenshot shows what its page lays out: every word the truth holds has ink
inside its box, and every image (a QR code, a barcode) is drawn across its whole box.
Headless Chromium sometimes saves a screenshot before all of the page's tiles are
rasterised; a tile that was not is one flat colour, the page's background or a panel's,
where text or a code should be. Boxes are in CSS pixels, `scale` device pixels each."""
import gi

gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf  # noqa: E402

# A pixel is ink when a channel stands this far from the box's commonest colour: faint
# text at 1.2:1 still stands 10 or more apart, a flat tile 0.
LEVEL = 6


class Pixels:
    def __init__(self, path):
        pixbuf = GdkPixbuf.Pixbuf.new_from_file(path)
        self.width, self.height = pixbuf.get_width(), pixbuf.get_height()
        self.stride, self.channels = pixbuf.get_rowstride(), pixbuf.get_n_channels()
        self.data = pixbuf.get_pixels()

    def colours(self, left, top, right, bottom):
        left, top = max(0, left), max(0, top)
        right, bottom = min(self.width, right), min(self.height, bottom)
        for y in range(top, bottom):
            row = y * self.stride
            for x in range(left, right):
                i = row + x * self.channels
                yield self.data[i], self.data[i + 1], self.data[i + 2]

    def inked(self, left, top, right, bottom):
        """Whether the area holds a pixel apart from its commonest colour."""
        pixels = list(self.colours(left, top, right, bottom))
        if not pixels:
            return False
        counts = {}
        for p in pixels:
            counts[p] = counts.get(p, 0) + 1
        mode = max(counts, key=counts.get)
        return any(max(abs(a - b) for a, b in zip(p, mode)) >= LEVEL for p in counts)


def slices(left, right, width):
    """[left, right) cut into pieces about `width` wide (at least one)."""
    count = max(1, round((right - left) / max(1, width)))
    step = (right - left) / count
    return [(round(left + i * step), round(left + (i + 1) * step)) for i in range(count)]


def blank_words(pixels, words, scale):
    """The words (left, top, right, bottom, text) with a piece about as wide as the line
    is tall and no ink in it: a word cut by an unpainted tile fails in the piece it lost.
    A word has no more pieces than characters: justified CJK text widens each
    character's box by the space after it."""
    blank = []
    for left, top, right, bottom, text in words:
        top, bottom = round(top * scale), round(bottom * scale)
        if bottom <= top or right <= left:
            continue
        left, right = round(left * scale), round(right * scale)
        pieces = slices(left, right, max(bottom - top, (right - left) / len(text)))
        if not all(pixels.inked(a, top, b, bottom) for a, b in pieces if b > a):
            blank.append(text)
    return blank


def blank_images(pixels, images, scale):
    """The images with a quarter (a band across or down) that is one flat colour."""
    blank = []
    for left, top, right, bottom in images:
        left, top, right, bottom = (round(v * scale) for v in (left, top, right, bottom))
        rows = [(left, a, right, b) for a, b in slices(top, bottom, (bottom - top) / 4)]
        columns = [(a, top, b, bottom) for a, b in slices(left, right, (right - left) / 4)]
        if not all(pixels.inked(*area) for area in rows + columns):
            blank.append(f"image at {left},{top}")
    return blank


def unpainted(path, boxes, scale):
    """What of `boxes` ({"words": ..., "images": ...}) the screenshot at `path` lacks."""
    pixels = Pixels(path)
    return (blank_words(pixels, boxes.get("words", []), scale)
            + blank_images(pixels, boxes.get("images", []), scale))
