#!/usr/bin/python3
"""Tests of the screen corpus's checks: ink where the truth's words are, the terminal's
rows, and (where Chromium is installed) a truth that holds only what the page shows."""
import os
import random
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check  # noqa: E402
import generate  # noqa: E402
import ink  # noqa: E402
import pages  # noqa: E402
import windows  # noqa: E402


def picture(width, height, colour=(240, 240, 240)):
    """A flat picture as ink.Pixels reads one, with a `dot(x, y, rgb)` to draw."""
    pixels = ink.Pixels.__new__(ink.Pixels)
    pixels.width, pixels.height, pixels.channels, pixels.stride = width, height, 3, width * 3
    pixels.data = bytearray(bytes(colour) * width * height)

    def dot(x, y, rgb):
        i = y * pixels.stride + x * 3
        pixels.data[i:i + 3] = bytes(rgb)
    return pixels, dot


class InkTest(unittest.TestCase):
    def test_words_need_ink_in_every_piece_of_their_width(self):
        pixels, dot = picture(200, 40)
        words = [(10, 10, 30, 30, "ab"), (40, 10, 120, 30, "cut"), (130, 10, 150, 30, "gone")]
        for x in range(12, 28, 3):
            dot(x, 20, (20, 20, 20))
        for x in range(42, 78, 3):  # ink stops halfway, where an unpainted tile begins
            dot(x, 18, (20, 20, 20))
        self.assertEqual(ink.blank_words(pixels, words, 1), ["cut", "gone"])
        self.assertEqual(ink.blank_words(pixels, [(5, 5, 15, 15, "ab")], 2), [])
        # One character stretched by justification: ink in its glyph, none in its space.
        self.assertEqual(ink.blank_words(pixels, [(10, 10, 70, 30, "的")], 1), [])

    def test_faint_text_is_ink_and_a_flat_tile_is_not(self):
        pixels, dot = picture(40, 20, (90, 110, 60))
        dot(5, 10, (100, 122, 66))  # text about 1.2:1 against its panel
        self.assertTrue(pixels.inked(0, 0, 20, 20))
        self.assertFalse(pixels.inked(20, 0, 40, 20))

    def test_a_code_cut_off_below_is_unpainted(self):
        pixels, dot = picture(100, 100, (255, 255, 255))
        rng = random.Random(1)
        for y in range(0, 60):  # modules only in the top part
            for x in range(0, 100, 4):
                if rng.random() < 0.5:
                    dot(x, y, (0, 0, 0))
        self.assertEqual(len(ink.blank_images(pixels, [(0, 0, 100, 100)], 1)), 1)
        self.assertEqual(ink.blank_images(pixels, [(0, 0, 100, 50)], 1), [])


class TruthTest(unittest.TestCase):
    def test_wide_characters_take_two_columns_of_a_terminal(self):
        self.assertEqual(check.terminal_rows("a" * 80 + "\n" + "語" * 41 + "\nx"), 1 + 2 + 1)

    def test_a_terminal_cut_by_the_screen_keeps_the_columns_it_shows(self):
        # 80 columns of 31 px and a 2 px border: a grab 1559 px wide shows 50.2 columns.
        visible = windows.visible_columns(2484, 1559)
        self.assertAlmostEqual(visible, 50.2, places=1)
        cut = windows.shown_columns(["a" * 60, "語" * 30, "ab " + "語" * 24 + "x"], visible)
        self.assertEqual(cut, ["a" * 50, "語" * 25, "ab " + "語" * 24])
        self.assertEqual(windows.shown_columns(["a" + "語" * 30], 49.8), ["a" + "語" * 24])

    def test_a_truth_may_only_lose_characters(self):
        self.assertTrue(check.within(check.squeeze("Name S value"), "Name Surname\nvalue"))
        self.assertFalse(check.within(check.squeeze("[--async] NAME"), "NAME [--global]"))

    def test_a_change_says_what_moved(self):
        self.assertIn("box-drawing", check.truth_change("│ ID │ Name\n", "ID Name\n"))
        self.assertIn("4 characters the page does not show",
                      check.truth_change("Save as\nType\n", "Save as\n"))
        self.assertEqual(check.truth_change("one two\nthree\n", "one\ntwo three\n"),
                         "lines broken where the page breaks them")


@unittest.skipUnless(shutil.which("chromium"), "needs Chromium")
class PageTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="glintext-check-test-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)

    def test_the_truth_holds_what_the_page_shows(self):
        style = pages.Style(random.Random(3), "en")
        style.theme, style.scale = "light", 1
        css = (".lab { display: inline-block; width: 60px; white-space: nowrap; }"
               ".field { position: relative; display: inline-block; width: 120px; background: #fff;"
               " border: 1px solid #888; } .pre { white-space: pre; width: 200px; }")
        body = ("<div id=crop style='padding:6px'><div><span class=lab>Name Surname</span>"
                "<span class=field>value</span></div><div class=pre>┌──┐\n│ ID │ Code\n└──┘</div>"
                "<div style='width:90px; white-space:nowrap'>shown "
                + "x" * 300 + " beyond</div><div style='width:150px'>see licences/gpl-"
                "3.0.html here</div></div>")
        path = os.path.join(self.dir, "page.html")
        with open(path, "w", encoding="utf-8") as f:
            f.write(pages.page(style, body, css))
        profile = os.path.join(self.dir, "profile")
        truth, _, _, boxes = generate.layout(path, profile, 1, (400, 400))
        lines = truth.split("\n")
        self.assertEqual(lines[0], "Name S value")  # the rest of "Surname" is under the field
        self.assertEqual(lines[1], "ID Code")
        self.assertEqual(lines[2], "shown " + "x" * len(lines[2][6:]))
        self.assertLess(len(lines[2]), 100)  # what runs past the screenshot is not in it
        self.assertIn("value", [w[4] for w in boxes["words"]])
        # A word broken at its hyphen stands on both lines, each part where it shows.
        self.assertEqual(lines[3:], ["see licences/gpl-", "3.0.html here"])


if __name__ == "__main__":
    unittest.main()
