// The real Tesseract analyser on small rendered crops.
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "support/TesseractModels.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QPainter>
#include <QStyleFactory>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

QImage render(const QStringList& lines, const QColor& bg, const QColor& fg, int px,
              const QString& family = "DejaVu Sans") {
    QFont font(family);
    font.setPixelSize(px);
    const QFontMetrics fm(font);
    int w = 0;
    for (const QString& l : lines)
        w = std::max(w, fm.horizontalAdvance(l));
    QImage image(w + 24, int(lines.size()) * px * 2 + 12, QImage::Format_RGB32);
    image.fill(bg);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(fg);
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(12, 6 + i * px * 2 + fm.ascent(), lines[i]);
    return image;
}

} // namespace

TEST(OCRRecognition, SmallLightAndDarkScreenTextIsReadExactly) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    TesseractTextAnalyzer analyzer(pool(), {"eng", ""});
    const QStringList lines{"Open Recent File", "Export as PDF 2026"};
    for (const auto& [bg, fg] : {std::pair{QColor(255, 255, 255), QColor(30, 30, 30)},
                                 std::pair{QColor(36, 36, 40), QColor(232, 232, 232)}}) {
        const TextAnalyzer::Outcome outcome = analyzer.analyze(render(lines, bg, fg, 12));
        ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
        EXPECT_EQ(outcome.transcript, lines.join('\n')) << "background " << bg.name().toStdString();
    }
    // The engine went back to the pool and is reused.
    EXPECT_EQ(pool().idleCount("eng"), 1);
}

TEST(OCRRecognition, BlankImagesAndMissingModelsEndCleanly) {
    TesseractTextAnalyzer analyzer(pool(), {"eng", ""});
    QImage blank(120, 40, QImage::Format_RGB32);
    blank.fill(Qt::white);
    const TextAnalyzer::Outcome empty = analyzer.analyze(blank);
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.transcript, "");
    EXPECT_FALSE(analyzer.analyze(QImage()).ok);

    TesseractTextAnalyzer missing(pool(), {"xxx_not_installed", ""});
    const TextAnalyzer::Outcome failed =
        missing.analyze(render({"Hello"}, Qt::white, Qt::black, 14));
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
}

TEST(OCRRecognition, VerticalJapaneseIsReadColumnByColumnFromTheRight) {
    if (!hasModels({"jpn", "jpn_vert", "eng"}))
        GTEST_SKIP() << "no Japanese models";
    const QStringList columns{"東京駅から新幹線", "会議の資料です"};
    const int s = 22;
    QImage image(s * 6, s * 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont font("Noto Sans CJK JP");
    font.setPixelSize(s);
    p.setFont(font);
    p.setPen(QColor(20, 20, 20));
    for (int c = 0; c < columns.size(); ++c) {
        const int x = image.width() - s * 2 - c * int(s * 1.8);
        for (int i = 0; i < columns[c].size(); ++i)
            p.drawText(QRect(x, s + i * s, s, s), Qt::AlignCenter, columns[c].mid(i, 1));
    }
    p.end();
    TesseractTextAnalyzer analyzer(pool(), {"jpn+eng", "jpn_vert"});
    const TextAnalyzer::Outcome outcome = analyzer.analyze(image);
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(QString(outcome.transcript).remove(' '), columns.join('\n'));

    // An English desktop has no vertical model of its own; the columns still find one.
    const RecognitionLanguages::Choice english = RecognitionLanguages::choose(
        {"en-US", "en"},
        RecognitionLanguages::installedModels(RecognitionLanguages::tessdataDirectory()));
    ASSERT_TRUE(english.vertical.isEmpty());
    ASSERT_TRUE(english.otherVertical.contains("jpn_vert"));
    TesseractTextAnalyzer onEnglish(pool(), english);
    const TextAnalyzer::Outcome read = onEnglish.analyze(image);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(QString(read.transcript).remove(' '), columns.join('\n'));
    EXPECT_TRUE(read.models.contains("jpn_vert")) << read.models.join(',').toStdString();
}

TEST(OCRRecognition, TallPagesReadInTwoBandsKeepTheirLineOrder) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    QStringList lines;
    for (int i = 1; i <= 8; ++i)
        lines.append(QString("Line number %1 of the report").arg(i));
    pool().prewarm("eng", 2);
    TesseractTextAnalyzer analyzer(pool(), {"eng", ""});
    const TextAnalyzer::Outcome outcome =
        analyzer.analyze(render(lines, Qt::white, QColor(20, 20, 20), 14));
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.transcript, lines.join('\n'));
    EXPECT_EQ(pool().idleCount("eng"), 2) << "both engines went back to the pool";
}

TEST(OCRRecognition, AWarmUpCountsTheEnginesAtWork) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    TesseractEnginePool fresh(RecognitionLanguages::tessdataDirectory());
    {
        // A cold run's recognition takes the engine the warm-up has just loaded; the
        // warm-up must not then load a second one that nothing uses and the run waits for.
        TesseractEnginePool::Lease working = fresh.acquire("eng");
        ASSERT_TRUE(working);
        fresh.prewarm("eng", 1);
        EXPECT_EQ(fresh.idleCount("eng"), 0);
        fresh.prewarm("eng", 2);
        EXPECT_EQ(fresh.idleCount("eng"), 1) << "a second engine where two are asked for";
    }
    EXPECT_EQ(fresh.idleCount("eng"), 2);
    fresh.prewarm("eng", 2);
    EXPECT_EQ(fresh.idleCount("eng"), 2);
}

TEST(OCRRecognition, ColdStartLoadsOnlyAModelEveryImageNeeds) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // A fresh pool: nothing loaded yet.
    TesseractEnginePool fresh(RecognitionLanguages::tessdataDirectory());
    // With a vertical model to choose from, the image decides: nothing is loaded early.
    TesseractTextAnalyzer either(fresh, {"eng", "jpn_vert"});
    either.warmUpCertain();
    EXPECT_EQ(fresh.idleCount("eng"), 0);
    EXPECT_EQ(fresh.idleCount("jpn_vert"), 0);
    // Horizontal only: one engine, which the first analysis then uses rather than loading
    // another.
    TesseractTextAnalyzer horizontal(fresh, {"eng", ""});
    horizontal.warmUpCertain();
    horizontal.warmUpCertain();
    EXPECT_EQ(fresh.idleCount("eng"), 1);
    const TextAnalyzer::Outcome outcome =
        horizontal.analyze(render({"Open Recent File"}, Qt::white, Qt::black, 14));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outcome.transcript, "Open Recent File");
    EXPECT_EQ(fresh.idleCount("eng"), 1);
}

TEST(OCRRecognition, ASidebarAndThePageBesideItAreReadPanelByPanel) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // Once both are dark on white, a sidebar item and the prose level with it look like
    // one line to the recogniser.
    const QStringList items{"New Window", "Close Tab", "Settings", "Report a Bug"};
    const QStringList prose{"Backups run nightly at two and are kept for ninety days.",
                            "The committee reviewed seventeen proposals last week.",
                            "Every pull request needs two approvals before merging.",
                            "Install the update, then restart the application."};
    QImage image(760, 200, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 255));
    QPainter p(&image);
    p.fillRect(0, 0, 170, 200, QColor(36, 36, 40));
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    p.setFont(font);
    for (int i = 0; i < 4; ++i) {
        const int baseline = 40 + i * 36;
        p.setPen(QColor(230, 230, 230));
        p.drawText(16, baseline, items[i]);
        p.setPen(QColor(20, 20, 20));
        p.drawText(190, baseline, prose[i]);
    }
    p.end();
    TesseractTextAnalyzer analyzer(pool(), {"eng", ""});
    const TextAnalyzer::Outcome outcome = analyzer.analyze(image);
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.transcript, (items + prose).join('\n'));
}

TEST(OCRRecognition, RealWidgetsReadAsTheirTextsWithoutFramesOrCheckMarks) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // Header cells of a dark table (the row numbers too): light titles inside dark frame
    // lines that outnumber their strokes. And a check box, whose box and tick must not become
    // letters.
    std::unique_ptr<QStyle> style(QStyleFactory::create("Fusion"));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(212, 212, 212));
    dark.setColor(QPalette::Button, QColor(60, 60, 64));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    QFont font("Noto Sans");
    font.setPixelSize(13);

    QTableWidget table(2, 3);
    table.setStyle(style.get());
    table.setPalette(dark);
    table.setFont(font);
    table.horizontalHeader()->setFont(font);
    table.setHorizontalHeaderLabels({"Host", "Port", "Status"});
    const QStringList cells{"backup", "22", "offline", "primary", "5432", "online"};
    for (int i = 0; i < cells.size(); ++i)
        table.setItem(i / 3, i % 3, new QTableWidgetItem(cells[i]));
    table.resize(380, 100);

    QCheckBox box("Include comments");
    box.setStyle(style.get());
    box.setFont(font);
    box.setChecked(true);
    box.resize(box.sizeHint());

    TesseractTextAnalyzer analyzer(pool(), {"eng", ""});
    const TextAnalyzer::Outcome read = analyzer.analyze(table.grab().toImage());
    ASSERT_TRUE(read.ok);
    const QStringList rows = read.transcript.split('\n');
    ASSERT_EQ(rows.size(), 3) << read.transcript.toStdString();
    // The header's titles are read (what the separator beside "Status" becomes varies).
    EXPECT_TRUE(rows[0].startsWith("Host") && rows[0].contains("Port") &&
                rows[0].contains("Status"))
        << rows[0].toStdString();
    EXPECT_EQ(rows[1].simplified(), "1 backup 22 offline");
    EXPECT_EQ(rows[2].simplified(), "2 primary 5432 online");
    const TextAnalyzer::Outcome checked = analyzer.analyze(box.grab().toImage());
    ASSERT_TRUE(checked.ok);
    EXPECT_EQ(checked.transcript, "Include comments");
}
