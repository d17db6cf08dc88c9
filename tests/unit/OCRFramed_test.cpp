// Faint and framed: text in a colour close to its panel's, and the lines, boxes and
// buttons around text on real screens (grids, frames, a text selection, a title bar, check
// boxes). The frames are not text; the text inside and beside them is.
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/RuleLines.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "support/TesseractModels.h"

#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

namespace {

QFont font(const QString& family, int px) {
    QFont f(family);
    f.setPixelSize(px);
    return f;
}

QStringList simplifiedRows(const QString& transcript) {
    QStringList rows;
    for (const QString& row : transcript.split('\n'))
        rows.append(row.simplified());
    return rows;
}

} // namespace

TEST(OCRFramed, APaleGridIsNotReadAndEveryRowIsKept) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    const QList<QStringList> rows{{"Code", "English", "Spanish"},
                                  {"TZS", "Tanzanian Shilling", "Chelin tanzano"},
                                  {"UAH", "Hryvnia", "Grivnia"},
                                  {"UGX", "Uganda Shilling", "Chelin ugandes"},
                                  {"USD", "US Dollar", "Dolar estadounidense"}};
    const int columns[] = {0, 50, 200, 380};
    QImage image(381, 5 * 30 + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font("DejaVu Sans", 13));
    for (int r = 0; r < rows.size(); ++r) {
        p.setPen(QColor(35, 35, 35));
        for (int c = 0; c < 3; ++c)
            p.drawText(columns[c] + 6, r * 30 + 20, rows[r][c]);
        p.setPen(QColor(208, 208, 208));
        p.drawLine(0, r * 30, 380, r * 30);
    }
    p.drawLine(0, 150, 380, 150);
    for (int x : columns)
        p.drawLine(x, 0, x, 150);
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    const QString transcript = en.analyze(image).transcript;
    QStringList expected;
    for (const QStringList& row : rows)
        expected.append(row.join(' '));
    EXPECT_EQ(simplifiedRows(transcript).join('\n').toStdString(),
              expected.join('\n').toStdString());
}

TEST(OCRFramed, SelectedTextInAFieldIsReadLikeTheLabelBesideIt) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // Light letters on the selection's accent colour, in a field with a focus frame: the
    // selection is too short to be found as a panel of its own.
    QImage image(420, 44, QImage::Format_RGB32);
    image.fill(QColor(246, 245, 244));
    QPainter p(&image);
    p.setFont(font("Cantarell", 13));
    p.setPen(QColor(46, 52, 54));
    p.drawText(10, 27, "Location");
    p.setPen(QPen(QColor(53, 132, 228), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(90, 7, 300, 30), 4, 4);
    const QString selected = "Enter a place by hand";
    const int width = QFontMetrics(p.font()).horizontalAdvance(selected);
    p.fillRect(98, 13, width + 2, 18, QColor(53, 132, 228));
    p.setPen(Qt::white);
    p.drawText(99, 27, selected);
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    EXPECT_EQ(en.analyze(image).transcript.simplified().toStdString(),
              "Location Enter a place by hand");
}

TEST(OCRFramed, RulesAndGridLinesGoWhileLettersStay) {
    // A caption touching a frame's left edge, a pale rule under it, a huge heading and a
    // bar thicker than any rule (a progress bar).
    QImage page(400, 160, QImage::Format_Grayscale8);
    page.fill(255);
    QPainter p(&page);
    p.fillRect(10, 10, 1, 120, QColor(0, 0, 0));       // frame line, full height
    p.fillRect(10, 70, 380, 2, QColor(180, 180, 180)); // pale rule, two pixels
    p.setPen(Qt::black);
    p.setFont(font("DejaVu Sans", 20));
    p.drawText(12, 50, "Estado");
    p.setFont(font("DejaVu Sans", 60));
    p.drawText(40, 150, "TE");
    p.fillRect(200, 100, 180, 10, QColor(0, 0, 0));
    p.end();
    const QImage before = page.copy();
    EXPECT_GT(RuleLines::erase(page, 20), 0);
    EXPECT_EQ(page.constScanLine(100)[10], 255) << "the frame line is gone";
    EXPECT_EQ(page.constScanLine(70)[200], 255) << "the pale rule is gone";
    const auto ink = [](const QImage& image, const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += image.constScanLine(y)[x] < 128;
        return count;
    };
    const QRect caption(12, 20, 100, 40);
    const QRect heading(38, 80, 120, 79);
    const QRect bar(200, 100, 180, 10);
    EXPECT_EQ(ink(page, caption), ink(before, caption)) << "the caption keeps every stroke";
    EXPECT_EQ(ink(page, heading), ink(before, heading)) << "so does the heading";
    EXPECT_EQ(ink(page, bar), ink(before, bar)) << "a thick bar is no rule";
    QImage blank;
    EXPECT_EQ(RuleLines::erase(blank, 20), 0);
}

TEST(OCRFramed, FaintTextAtOnePointTwoToOneIsReadInEitherPolarity) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // WCAG contrast 1.2:1: orange on orange, darker and lighter, and grey on a dark panel;
    // then text some 27 shades off its panel, fainter than ordinary text and stronger than
    // the faintest, lighter and darker.
    struct Case {
        QColor background, text;
    };
    const Case cases[] = {{QColor(245, 166, 35), QColor(226, 148, 20)},
                          {QColor(226, 148, 20), QColor(245, 166, 35)},
                          {QColor(48, 48, 48), QColor(62, 62, 62)},
                          {QColor(85, 85, 85), QColor(112, 112, 112)},
                          {QColor(200, 200, 200), QColor(173, 173, 173)}};
    const QStringList texts{"Update available", "Restart to finish installing"};
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    for (const Case& c : cases) {
        QImage image(360, 80, QImage::Format_RGB32);
        image.fill(c.background);
        QPainter p(&image);
        p.setFont(font("DejaVu Sans", 16));
        p.setPen(c.text);
        p.drawText(12, 30, texts[0]);
        p.drawText(12, 62, texts[1]);
        p.end();
        EXPECT_EQ(en.analyze(image).transcript.toStdString(), texts.join('\n').toStdString())
            << c.background.name().toStdString() << " " << c.text.name().toStdString();
    }
    // The shade steps of a flat gradient are no ink, however faint the page.
    QImage flat(360, 80, QImage::Format_RGB32);
    QPainter p(&flat);
    for (int x = 0; x < flat.width(); ++x)
        p.fillRect(x, 0, 1, 80, QColor(230 - x / 24, 150, 40));
    p.end();
    EXPECT_EQ(en.analyze(flat).transcript.toStdString(), "");
}

TEST(OCRFramed, AMenusSoftShadowLeavesNoMarksOnThePage) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // A pop-up menu with a grey border over a plain page, its shadow a gradient darkest
    // by the border, 25 shades off the page there: as strong as faint text, but soft.
    QImage image(300, 150, QImage::Format_RGB32);
    image.fill(QColor(245, 245, 245));
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    const QRect menu(40, 20, 200, 92);
    for (int spread = 5; spread >= 1; --spread) {
        const int shade = 245 - 5 * (6 - spread);
        p.fillRect(menu.adjusted(-spread, -spread, spread, spread), QColor(shade, shade, shade));
    }
    p.fillRect(menu, QColor(200, 200, 200));
    p.fillRect(menu.adjusted(1, 1, -1, -1), Qt::white);
    p.setFont(font("DejaVu Sans", 14));
    p.setPen(QColor(30, 30, 30));
    const QStringList items{"Open Link", "Copy Link", "Inspect"};
    for (int i = 0; i < items.size(); ++i)
        p.drawText(60, 46 + i * 28, items[i]);
    p.end();
    const QImage page = ScreenTextPreprocessor::normalise(ScreenTextPreprocessor::toGrey(image));
    // The menu's border and the darkest steps next to it are the menu's own frame.
    const QRect frame = menu.adjusted(-2, -2, 2, 2);
    int marks = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            marks += !frame.contains(x, y) && qGray(page.pixel(x, y)) < 128;
    EXPECT_EQ(marks, 0) << "the shadow stays page";
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    EXPECT_EQ(en.analyze(image).transcript.toStdString(), items.join('\n').toStdString());
}

TEST(OCRFramed, AGapBetweenCellsIsNoDashButADashInACellIs) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // Wide gaps between a table's cells (the recogniser makes doubtful strokes of them),
    // and one cell whose value is a dash.
    const QList<QStringList> rows{
        {"Package", "Version", "Size"}, {"libfoo", "1.2.3", "24 kB"}, {"libbar", "—", "8 kB"}};
    QImage image(560, 110, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font("DejaVu Sans", 15));
    p.setPen(QColor(30, 30, 30));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 3; ++c)
            p.drawText(10 + c * 220, 30 + r * 32, rows[r][c]);
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    const QStringList read = simplifiedRows(en.analyze(image).transcript);
    ASSERT_EQ(read.size(), 3);
    EXPECT_EQ(read[0].toStdString(), "Package Version Size");
    EXPECT_EQ(read[1].toStdString(), "libfoo 1.2.3 24 kB");
    EXPECT_TRUE(read[2].startsWith("libbar ") && read[2].endsWith(" 8 kB") &&
                read[2].size() > QString("libbar 8 kB").size())
        << "the dash in the cell stays: " << read[2].toStdString();
}
