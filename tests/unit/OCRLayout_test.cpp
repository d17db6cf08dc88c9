#include "platform/tesseract/KeyCombinationText.h"
#include "platform/tesseract/LineNoise.h"
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/TextLayout.h"

#include <QPainter>

#include <cmath>

#include <gtest/gtest.h>

using TextLayout::Line;

namespace {

Line line(int block, int x, int y, int w, const QString& text, int h = 20) {
    Line l;
    l.box = QRect(x, y, w, h);
    l.block = block;
    l.text = text;
    l.confidence = 90;
    return l;
}

} // namespace

TEST(OCRLayout, GridColumnsAreReadRowByRowAndProseColumnsStayWhole) {
    // A menu whose shortcuts came back as a block of their own.
    const QList<Line> menu{line(0, 10, 10, 80, "Open"), line(0, 10, 40, 80, "Save"),
                           line(0, 10, 70, 80, "Quit"), line(1, 300, 11, 60, "Ctrl+O"),
                           line(1, 300, 69, 60, "Ctrl+Q")};
    EXPECT_EQ(TextLayout::join(menu), "Open Ctrl+O\nSave\nQuit Ctrl+Q");
    // Items in two blocks beside one block of shortcuts that ends level with the first
    // item of the second block, and a last shortcut on its own.
    const QList<Line> split{line(0, 10, 10, 80, "New"),     line(0, 10, 40, 80, "Open"),
                            line(1, 10, 70, 80, "Print"),   line(1, 10, 100, 80, "Offline"),
                            line(1, 10, 130, 80, "Quit"),   line(2, 300, 10, 60, "Ctrl+N"),
                            line(2, 300, 40, 60, "Ctrl+O"), line(2, 300, 70, 60, "Ctrl+P"),
                            line(3, 300, 130, 60, "Ctrl+Q")};
    EXPECT_EQ(TextLayout::join(split),
              "New Ctrl+N\nOpen Ctrl+O\nPrint Ctrl+P\nOffline\nQuit Ctrl+Q");

    const QString left1 = "The first column holds running text over many words";
    const QString left2 = "and goes on for a second line of the same paragraph";
    const QString right1 = "The second column is another article with its own";
    const QString right2 = "sentences that a reader takes after the first one";
    const QList<Line> columns{line(0, 10, 10, 400, left1), line(0, 10, 40, 400, left2),
                              line(1, 450, 10, 400, right1), line(1, 450, 40, 400, right2)};
    EXPECT_EQ(TextLayout::join(columns), QStringList({left1, left2, right1, right2}).join('\n'));
}

TEST(OCRLayout, BlocksAreOrderedTopToBottomWhateverTheRecognisersOrder) {
    const QList<Line> lines{line(0, 10, 50, 300, "second line"), line(0, 10, 80, 300, "third"),
                            line(1, 10, 20, 300, "first line")};
    EXPECT_EQ(TextLayout::join(lines), "first line\nsecond line\nthird");
    // Lines of one row that Tesseract split at slightly different heights stay one row.
    const QList<Line> row{line(0, 200, 12, 50, "B"), line(0, 10, 10, 50, "A")};
    EXPECT_EQ(TextLayout::rows(row).size(), 1);
    EXPECT_EQ(TextLayout::join(row), "A B");
}

TEST(OCRLayout, RecognitionLanguagesFollowTheUserWithEnglishBesideOtherScripts) {
    EXPECT_EQ(RecognitionLanguages::modelFor("de_CH.UTF-8"), "deu");
    EXPECT_EQ(RecognitionLanguages::modelFor("zh-Hant-TW"), "chi_tra");
    EXPECT_EQ(RecognitionLanguages::modelFor("zh-CN"), "chi_sim");
    EXPECT_EQ(RecognitionLanguages::modelFor("tlh"), "");

    const QStringList installed{"eng", "deu", "jpn", "jpn_vert", "fra"};
    auto ja = RecognitionLanguages::choose({"ja-JP", "ja", "en-US"}, installed);
    EXPECT_EQ(ja.horizontal, "jpn+eng");
    EXPECT_EQ(ja.vertical, "jpn_vert");
    auto de = RecognitionLanguages::choose({"de", "ko", "fr", "es"}, installed);
    EXPECT_EQ(de.horizontal, "deu+fra") << "Latin alphabets read English alone";
    EXPECT_TRUE(de.englishInstalled);
    EXPECT_EQ(RecognitionLanguages::choose({"de", "en"}, installed).horizontal, "deu+eng")
        << "English as one of the user's own languages";
    EXPECT_EQ(de.vertical, "");
    const auto three = RecognitionLanguages::choose({"fr", "de", "ja"}, installed);
    EXPECT_EQ(three.horizontal, "fra+deu+eng")
        << "at most three models, English among them: Japanese reads Latin poorly";
    EXPECT_EQ(RecognitionLanguages::choose({"ko"}, installed).horizontal, "eng")
        << "English reads where no language of the desktop has a model";
    EXPECT_FALSE(RecognitionLanguages::choose({"de"}, {"deu"}).englishInstalled);
    EXPECT_EQ(RecognitionLanguages::choose({}, {}).horizontal, "");
}

TEST(OCRLayout, MixedPanelsComeOutDarkOnWhiteWithFramesRemoved) {
    // Left half dark theme, right half light theme, the same glyph-like bars on both,
    // and a thin frame around the right half.
    QImage image(200, 80, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter p(&image);
    p.fillRect(0, 0, 100, 80, QColor(30, 30, 34));
    p.fillRect(20, 30, 4, 14, QColor(230, 230, 230)); // light stroke on dark
    p.fillRect(120, 30, 4, 14, QColor(40, 40, 40));   // dark stroke on light
    p.fillRect(130, 30, 4, 14, QColor(150, 220, 80)); // a green one beside it, much paler
    p.fillRect(150, 30, 14, 14, QColor(40, 40, 40));  // a filled icon
    p.fillRect(170, 30, 14, 14, QColor(40, 40, 40));  // a dense glyph: solid but for a hole
    p.fillRect(176, 36, 2, 2, QColor(250, 250, 250));
    p.setPen(QColor(120, 120, 120));
    p.drawRect(105, 5, 90, 70);
    p.end();

    QImage page = ScreenTextPreprocessor::normalise(ScreenTextPreprocessor::toGrey(image));
    EXPECT_LT(qGray(page.pixel(21, 36)), 60) << "light-on-dark stroke becomes dark";
    EXPECT_LT(qGray(page.pixel(121, 36)), 60);
    EXPECT_GT(qGray(page.pixel(50, 10)), 240) << "dark panel becomes white";
    EXPECT_GT(qGray(page.pixel(150, 60)), 240);
    EXPECT_LT(qGray(page.pixel(131, 36)), 60) << "a pale stroke is as black as a dark one";
    EXPECT_LT(qGray(page.pixel(105, 40)), 128) << "the frame is ink before removal";
    EXPECT_EQ(ScreenTextPreprocessor::removeFrames(page, 14), 2);
    EXPECT_GT(qGray(page.pixel(105, 40)), 240);
    EXPECT_GT(qGray(page.pixel(156, 36)), 240) << "the icon is erased";
    EXPECT_LT(qGray(page.pixel(121, 36)), 60) << "strokes survive frame removal";
    EXPECT_LT(qGray(page.pixel(172, 36)), 60) << "and so does the glyph with a hole";
}

TEST(OCRLayout, SmallTextIsUpscaledAndColumnsOfGlyphsReadAsVertical) {
    EXPECT_DOUBLE_EQ(ScreenTextPreprocessor::scaleFor(0), 1.0);
    EXPECT_DOUBLE_EQ(ScreenTextPreprocessor::scaleFor(200), 1.0) << "never shrinks";
    EXPECT_GT(ScreenTextPreprocessor::scaleFor(8), 1.5);
    EXPECT_LE(ScreenTextPreprocessor::scaleFor(1), ScreenTextPreprocessor::maximumScale);
    // A large crop of small text grows less, but never below the smallest glyph size.
    const double small = 12, crop = 1000.0 * 600;
    EXPECT_DOUBLE_EQ(ScreenTextPreprocessor::scaleFor(small, 300.0 * 100),
                     ScreenTextPreprocessor::scaleFor(small));
    EXPECT_LT(ScreenTextPreprocessor::scaleFor(small, crop),
              ScreenTextPreprocessor::scaleFor(small));
    EXPECT_LE(crop * std::pow(ScreenTextPreprocessor::scaleFor(small, crop), 2),
              ScreenTextPreprocessor::pageBudget * 1.001);
    EXPECT_DOUBLE_EQ(ScreenTextPreprocessor::scaleFor(small, 1e9),
                     ScreenTextPreprocessor::smallestGlyphHeight / small);

    // Three columns of square "characters", wide lanes between columns, narrow between
    // characters: vertical. The same grid transposed: horizontal.
    QImage columns(160, 200, QImage::Format_Grayscale8);
    columns.fill(255);
    QImage rows(200, 160, QImage::Format_Grayscale8);
    rows.fill(255);
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 8; ++i) {
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; x += (y % 4 == 0 ? 1 : 15)) {
                    const int cx = 20 + c * 45 + x, cy = 10 + i * 22 + y;
                    columns.scanLine(cy)[cx] = 0;
                    rows.scanLine(cx)[cy] = 0;
                }
            }
        }
    }
    EXPECT_EQ(ScreenTextPreprocessor::measure(columns).orientation,
              TextOrientation::Orientation::Vertical);
    EXPECT_EQ(ScreenTextPreprocessor::measure(rows).orientation,
              TextOrientation::Orientation::Horizontal);
    QImage blank(50, 50, QImage::Format_Grayscale8);
    blank.fill(255);
    EXPECT_FALSE(ScreenTextPreprocessor::measure(blank).hasInk);
}

TEST(OCRLayout, CharactersInTheCellsOfAGridAreReadInRows) {
    // Double-width characters in a terminal or a table: every character stands alone in
    // its cell, more than half a glyph from its neighbours both across and down.
    QImage grid(260, 200, QImage::Format_Grayscale8);
    grid.fill(255);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 8; ++c)
            for (int y = 0; y < 18; ++y)
                for (int x = 0; x < 18; x += (y % 4 == 0 ? 1 : 17))
                    grid.scanLine(10 + r * 30 + y)[10 + c * 30 + x] = 0;
    EXPECT_EQ(ScreenTextPreprocessor::measure(grid).orientation,
              TextOrientation::Orientation::Horizontal);
}

TEST(OCRLayout, KeyCombinationsAreWrittenAsTheDesktopWritesThemAndOtherTextIsLeft) {
    using KeyCombinationText::repair;
    EXPECT_EQ(repair("Get Info    Ctri+N"), "Get Info    Ctrl+N") << "spacing is kept";
    EXPECT_EQ(repair("Ctril+¥"), "Ctrl+Y");
    EXPECT_EQ(repair("Ctr+Shitt+S"), "Ctrl+Shift+S");
    EXPECT_EQ(repair("Display Ctrl+x"), "Display Ctrl+X");
    EXPECT_EQ(repair("ctrl+alt+Del"), "Ctrl+Alt+Del");
    EXPECT_EQ(repair("Zoom In Ctrl++"), "Zoom In Ctrl++");
    EXPECT_EQ(repair("Quick Look Fll"), "Quick Look F11");
    EXPECT_EQ(repair("Fi2"), "F12");
    EXPECT_EQ(repair("Ctri+ShifttO"), "Ctrl+Shift+O") << "a + read as t";
    EXPECT_EQ(repair("Ctri+wW"), "Ctrl+W") << "a letter read in both cases";
    for (const QString text :
         {"C++ and 1+1", "a+b", "Art+Design", "Ctrl+", "+Ctrl", "Country FI", "Fl.", "F25", "Flow",
          "Ctrl+Shift+Unknownkey", "Cti+V", "Ctrl+Settings", "Alt+Shortcut"})
        EXPECT_EQ(repair(text), text) << text.toStdString();
}

TEST(OCRLayout, ColumnsAreReadWholeEvenWhereTheirParagraphGapsLineUp) {
    // A heading over two columns whose paragraph breaks fall at the same height.
    const QList<QRect> boxes{QRect(0, 0, 800, 20), QRect(420, 40, 380, 60), QRect(0, 40, 380, 60),
                             QRect(0, 120, 380, 60), QRect(420, 120, 380, 30)};
    EXPECT_EQ(TextLayout::readingOrder(boxes), (QList<qsizetype>{0, 2, 3, 1, 4}));
    // Side by side at the top, one box across below: both columns first.
    const QList<QRect> sidebar{QRect(0, 0, 100, 300), QRect(120, 0, 500, 300),
                               QRect(0, 320, 620, 20)};
    EXPECT_EQ(TextLayout::readingOrder(sidebar), (QList<qsizetype>{0, 1, 2}));
}

TEST(OCRLayout, APanelAroundAnotherIsReadAboveThenInsideThenBelow) {
    // A menu whose separators cut a section out of its background: the section is a panel
    // of its own, the items above and below it stand on the menu's.
    QList<Line> lines{line(0, 10, 10, 200, "New Window"), line(0, 10, 40, 200, "Open File"),
                      line(0, 10, 70, 200, "Save"), line(0, 10, 100, 200, "Print"),
                      line(0, 10, 130, 200, "Quit")};
    lines[1].panel = lines[2].panel = lines[3].panel = 1;
    EXPECT_EQ(TextLayout::join(lines), "New Window\nOpen File\nSave\nPrint\nQuit");
}

TEST(OCRLayout, AMarkInFrontOfAMenuItemGoesButSignsThatAreTextStay) {
    const QStringList read{"¥ Vertikal skala", "v¥ Show hidden files", "√ Word wrap",
                           "$ 5 per month",    "+ Add a printer",      "€ Euro",
                           "# Heading",        "©2024 Example"};
    QList<TextLayout::Line> lines;
    for (const QString& text : read) {
        TextLayout::Line line;
        line.text = text;
        line.confidence = 80;
        lines.append(line);
    }
    LineNoise::drop(lines);
    QStringList kept;
    for (const TextLayout::Line& line : lines)
        kept.append(line.text);
    EXPECT_EQ(kept.join('|').toStdString(), "Vertikal skala|Show hidden files|Word wrap|$ 5 per "
                                            "month|+ Add a printer|€ Euro|# Heading|©2024 Example");
}
