// A capture and `glintext recognize` on the saved image of that capture must give the same
// text: what the engine reads may depend on the image alone, never on what its engines
// read before, how many are warm, or how the pixels were stored.
#include "platform/tesseract/PageBands.h"
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "support/TesseractModels.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A settings page: a title, a paragraph, a list of options with values beside them; tall
// enough to be read in two bands.
QImage settingsPage() {
    QImage image(720, 560, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(250, 250, 250));
    QPainter p(&image);
    QFont font("DejaVu Sans");
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(QColor(30, 30, 30));
    p.drawText(24, 36, "Backups and synchronisation");
    const QStringList rows{"Keep daily copies for",
                           "Compress archives older than",
                           "Upload over metered connections",
                           "Verify each copy after writing",
                           "Notify me when a backup fails",
                           "Exclude caches and thumbnails",
                           "Encrypt with the saved passphrase",
                           "Start at login",
                           "Keep weekly copies for",
                           "Pause on battery power",
                           "Skip files larger than",
                           "Show progress in the tray"};
    const QStringList values{"14 days", "3 months", "Never",   "Always", "Yes",  "Yes",
                             "No",      "On",       "8 weeks", "Yes",    "4 GB", "Off"};
    for (int i = 0; i < rows.size(); ++i) {
        p.drawText(24, 96 + i * 38, rows[i]);
        p.drawText(520, 96 + i * 38, values[i]);
    }
    return image;
}

QImage otherScreen(int seed) {
    QImage image(480, 200, QImage::Format_RGB32);
    image.fill(seed % 2 ? QColor(36, 36, 40) : Qt::white);
    QPainter p(&image);
    QFont font(seed % 2 ? "Noto Serif" : "Liberation Sans");
    font.setPixelSize(13 + seed);
    p.setFont(font);
    p.setPen(seed % 2 ? QColor(230, 230, 230) : QColor(20, 20, 20));
    for (int i = 0; i < 4; ++i)
        p.drawText(16, 40 + i * 40, QString("Report %1 of the quarter, page %2").arg(seed).arg(i));
    return image;
}

} // namespace

TEST(OCROnePath, TheTextDependsOnTheImageAloneNotOnTheEnginesHistory) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    const QImage page = settingsPage();

    // As `glintext recognize` runs: a fresh pool, one engine, nothing read before.
    TesseractEnginePool coldPool(RecognitionLanguages::tessdataDirectory());
    TesseractTextAnalyzer cold(coldPool, {"eng", ""});
    const TextAnalyzer::Outcome first = cold.analyze(page);
    ASSERT_TRUE(first.ok);
    EXPECT_TRUE(first.transcript.simplified().contains("Keep daily copies for 14 days"))
        << first.transcript.toStdString();

    // As the tray application runs: two warm engines that have read other screens.
    TesseractEnginePool warmPool(RecognitionLanguages::tessdataDirectory());
    warmPool.prewarm("eng", 2);
    TesseractTextAnalyzer warm(warmPool, {"eng", ""});
    for (int seed = 0; seed < 3; ++seed)
        ASSERT_TRUE(warm.analyze(otherScreen(seed)).ok);
    EXPECT_EQ(warm.analyze(page).transcript, first.transcript);

    // The tester's debug copy: the capture saved as PNG and read back (another pixel format,
    // no device pixel ratio).
    QImage capture = page;
    capture.setDevicePixelRatio(2);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(capture.save(&buffer, "PNG"));
    const QImage saved = QImage::fromData(png, "PNG");
    ASSERT_NE(saved.format(), capture.format());
    EXPECT_EQ(cold.analyze(saved).transcript, first.transcript);
}

namespace {

// A page as the recogniser gets it: `rows` text rows 30 px tall, 24 px apart.
QImage rowsOfInk(int rows) {
    QImage page(600, std::max(700, 40 + rows * 54), QImage::Format_Grayscale8);
    page.fill(255);
    QPainter p(&page);
    for (int i = 0; i < rows; ++i)
        p.fillRect(20, 20 + i * 54, 300 + (i % 3) * 80, 30, Qt::black);
    return page;
}

} // namespace

TEST(OCROnePath, ABandIsCutOnlyWhereEachSideKeepsEnoughRowsToLearnTheirSpacing) {
    // A dialog's nine rows read in bands of four and five: the recogniser took two rows of
    // the upper band for one. Such a page is read whole.
    EXPECT_EQ(PageBands::cut(rowsOfInk(9)), -1);
    EXPECT_EQ(PageBands::cut(rowsOfInk(11)), -1);
    const QImage tall = rowsOfInk(14);
    const int cut = PageBands::cut(tall);
    ASSERT_GT(cut, 0);
    // In the lane between the seventh and eighth rows, the one nearest the middle.
    EXPECT_GT(cut, 20 + 6 * 54 + 30);
    EXPECT_LT(cut, 20 + 7 * 54);
}
