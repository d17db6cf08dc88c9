// Faint and framed: text in a colour close to its panel's, and the lines, boxes and
// buttons around text on real screens (grids, frames, a text selection, a title bar, check
// boxes). The frames are not text; the text inside and beside them is.
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"

#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

namespace {

bool hasModels(const QStringList& models) {
    const QString dir = RecognitionLanguages::tessdataDirectory();
    for (const QString& m : models)
        if (!QFileInfo::exists(dir + "/" + m + ".traineddata"))
            return false;
    return true;
}

TesseractEnginePool& pool() {
    static TesseractEnginePool p(RecognitionLanguages::tessdataDirectory());
    return p;
}

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
