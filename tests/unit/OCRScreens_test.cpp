// The real Tesseract analyser on screen layouts that used to go wrong: short horizontal CJK
// lines, a menu with a highlighted item between separators, a paragraph flowing across two
// columns, an option list beside its descriptions.
#include "platform/tesseract/ProseColumns.h"
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "support/TesseractModels.h"

#include <QFileInfo>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QFont font(const QString& family, int px) {
    QFont f(family);
    f.setPixelSize(px);
    return f;
}

// A pop-up menu: items on a panel, separators, one item on an accent band.
QImage menu(const QStringList& items, int highlighted, const QString& family, int px,
            const QList<int>& separatorsAfter = {}) {
    const int row = px * 2;
    const int height = int(items.size()) * row + int(separatorsAfter.size()) * 9 + 16;
    QImage image(px * 22, height + 20, QImage::Format_RGB32);
    image.fill(QColor(246, 245, 244));
    QPainter p(&image);
    p.fillRect(10, 10, image.width() - 20, height, Qt::white);
    p.setFont(font(family, px));
    int y = 18;
    for (int i = 0; i < items.size(); ++i) {
        if (i == highlighted)
            p.fillRect(10, y, image.width() - 20, row, QColor(53, 132, 228));
        p.setPen(i == highlighted ? Qt::white : QColor(40, 40, 40));
        p.drawText(QRect(34, y, image.width() - 60, row), Qt::AlignVCenter, items[i]);
        y += row;
        if (separatorsAfter.contains(i)) {
            p.fillRect(10, y + 4, image.width() - 20, 1, QColor(205, 199, 194));
            y += 9;
        }
    }
    return image;
}

} // namespace

TEST(OCRScreens, ShortHorizontalCJKListsAreReadAsRowsInOrder) {
    if (!hasModels({"jpn", "jpn_vert", "chi_tra", "eng"}))
        GTEST_SKIP() << "no CJK models";
    // Narrow and tall, as a column of vertical text is: the characters of each item stand
    // closer to each other than to the next item.
    const QStringList japanese{"新規作成", "開く", "保存", "名前を付けて保存", "印刷", "閉じる"};
    const QImage list = menu(japanese, -1, "Noto Sans CJK JP", 16);
    EXPECT_EQ(ScreenTextPreprocessor::prepare(list).metrics.orientation,
              TextOrientation::Orientation::Horizontal);
    TesseractTextAnalyzer ja(pool(), {"jpn+eng", "jpn_vert"});
    EXPECT_EQ(ja.analyze(list).transcript.remove(' '), japanese.join('\n'));

    // Every item of a Traditional Chinese menu, the highlighted one too.
    const QStringList chinese{"檔案", "編輯", "檢視", "插入", "格式", "工具", "視窗", "說明"};
    TesseractTextAnalyzer zh(pool(), {"chi_tra+eng", "chi_tra_vert"});
    QString read = zh.analyze(menu(chinese, 3, "Noto Sans CJK TC", 15)).transcript;
    EXPECT_EQ(read.remove(' '), chinese.join('\n'));
}

TEST(OCRScreens, AHighlightedItemBetweenSeparatorsKeepsItsPlace) {
    if (!hasModels({"fra", "eng"}))
        GTEST_SKIP() << "no French model";
    // The separators cut the menu's background into pieces, one of them panel-sized: the
    // items must still come out top to bottom.
    const QStringList items{
        "Nouvelle fenêtre", "Ouvrir un fichier", "Enregistrer",     "Enregistrer sous",
        "Imprimer",         "Propriétés",        "Fermer l'onglet", "Quitter"};
    TesseractTextAnalyzer fr(pool(), {"fra+eng", ""});
    const QImage image = menu(items, 6, "DejaVu Sans", 13, {0, 5});
    EXPECT_EQ(fr.analyze(image).transcript, items.join('\n'));
}

TEST(OCRScreens, AParagraphFlowingIntoTheNextColumnStaysInOrder) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    const QStringList left{"Backups run every night at two and", "are kept for ninety days on the",
                           "second server in the basement rack.", "Restoring a file takes a few",
                           "minutes; ask the help desk when a"};
    const QStringList right{"whole folder must come back, since", "that needs the tape library and",
                            "a second pair of hands on site.", "Old tapes are shredded after",
                            "seven years by the records office."};
    QImage image(760, 250, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QColor(25, 25, 25));
    p.setFont(font("DejaVu Serif", 20));
    p.drawText(20, 36, "Keeping files safe");
    p.setFont(font("DejaVu Serif", 14));
    for (int i = 0; i < left.size(); ++i) {
        p.drawText(20, 80 + i * 24, left[i]);
        p.drawText(400, 80 + i * 24, right[i]);
    }
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    EXPECT_EQ(en.analyze(image).transcript.toStdString(),
              (QStringList{"Keeping files safe"} + left + right).join('\n').toStdString());
}

namespace {

// A line set flush to both edges of a column, as a justified article sets it.
void drawJustified(QPainter& p, int x, int y, int width, const QString& line) {
    const QStringList words = line.split(' ');
    const QFontMetrics metrics(p.font());
    int inked = 0;
    for (const QString& w : words)
        inked += metrics.horizontalAdvance(w);
    const double space = words.size() > 1 ? double(width - inked) / double(words.size() - 1) : 0;
    double at = x;
    for (const QString& w : words) {
        p.drawText(int(at), y, w);
        at += metrics.horizontalAdvance(w) + space;
    }
}

} // namespace

TEST(OCRScreens, NarrowJustifiedColumnsOfLongWordsAreReadColumnByColumn) {
    if (!hasModels({"deu"}))
        GTEST_SKIP() << "no German model";
    // Few words a line: compounds, addresses and links fill a narrow column.
    const QStringList left{
        "Die Projektdokumentation steht unter", "<https://example.org/handbuch/users>",
        "oder lokal als Informationsdatei zur", "Verfügung. Fehlermeldungen zur",
        "Übersetzungsdatenbank schicken Sie",   "bitte an die Mailingliste der",
        "Übersetzungsmannschaft, jeweils mit"};
    const QStringList right{
        "Versionsangabe und Betriebssystem",  "<uebersetzung@lists.example.org>.",
        "Diese Handbuchseite wurde von",      "Sabine Achterberg <sabine@example.de>",
        "und Jonathan Oberhauser erstellt.",  "Gewährleistungsansprüche bestehen",
        "ausdrücklich keine Verpflichtungen."};
    QImage image(720, 250, QImage::Format_RGB32);
    image.fill(QColor(48, 48, 48));
    QPainter p(&image);
    p.setPen(QColor(236, 236, 236));
    p.setFont(font("DejaVu Sans", 14));
    for (int i = 0; i < left.size(); ++i) {
        drawJustified(p, 20, 40 + i * 26, 320, left[i]);
        drawJustified(p, 370, 40 + i * 26, 320, right[i]);
    }
    p.end();
    TesseractTextAnalyzer de(pool(), {"deu", ""});
    QStringList rows;
    for (const QString& row : de.analyze(image).transcript.split('\n'))
        rows.append(row.simplified());
    EXPECT_EQ(rows.join('\n').toStdString(), (left + right).join('\n').toStdString());
}

TEST(OCRScreens, ARaggedLeftColumnShorterThanTheRightIsReadWhole) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // Lines set flush left end raggedly; one reaches well past the others with a word space
    // where they end, and the left column stops far above the right one.
    const QStringList left{
        "Backups run every night at two and are", "kept for ninety days on the second",
        "server in the basement rack of the", "main office, next to the old tape drive, so",
        "restoring a file takes a few minutes."};
    const QStringList right{
        "Whole folders take longer, since the tape", "library needs a second pair of hands on",
        "site and a signed request from the owner",  "of the folder. Old tapes are shredded after",
        "seven years by the records office, which",  "keeps a list of every tape it destroyed",
        "and the date it was taken from the shelf",  "in case an auditor asks for it later on."};
    QImage image(800, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QColor(30, 30, 30));
    p.setFont(font("DejaVu Serif", 13));
    for (int i = 0; i < right.size(); ++i) {
        if (i < left.size())
            p.drawText(20, 40 + i * 24, left[i]);
        p.drawText(420, 40 + i * 24, right[i]);
    }
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    QStringList rows;
    for (const QString& row : en.analyze(image).transcript.split('\n'))
        rows.append(row.simplified());
    EXPECT_EQ(rows.join('\n').toStdString(), (left + right).join('\n').toStdString());
}

TEST(OCRScreens, AShortColumnPairUnderAHeadingIsReadColumnByColumn) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // Small type, two columns of three and five lines set close under a heading that spans
    // both: the left column's last line is short, and its first starts right under the
    // heading's descenders.
    const QString heading = "xzgrep - search possibly compressed files for a pattern";
    const QStringList left{"Invoked as xzegrep or xzfgrep, the program runs",
                           "grep -E or grep -F instead of grep. The same holds",
                           "for bzgrep and its two siblings."};
    const QStringList right{"At least one match was found in at least one of",
                            "the files, and no error occurred on the way.",
                            "An error occurred: whether a match was found too",
                            "cannot be told from the status. Set GREP to run",
                            "another program in place of grep itself."};
    QImage image(820, 170, QImage::Format_RGB32);
    image.fill(QColor(40, 40, 40));
    QPainter p(&image);
    p.setPen(QColor(235, 235, 235));
    p.setFont(font("DejaVu Sans", 17));
    p.drawText(16, 26, heading);
    p.setFont(font("DejaVu Sans", 12));
    for (int i = 0; i < right.size(); ++i) {
        if (i < left.size())
            p.drawText(16, 48 + i * 19 + (i == 2 ? 10 : 0), left[i]);
        p.drawText(420, 48 + i * 19, right[i]);
    }
    p.end();
    // No region cuts through a line: each one's edges run along blank rows.
    const ScreenTextPreprocessor::Prepared prepared = ScreenTextPreprocessor::prepare(image);
    const QList<QRect> regions =
        ProseColumns::regions(prepared.image, prepared.metrics.glyphHeight * prepared.scale);
    ASSERT_EQ(regions.size(), 3);
    auto blank = [&](const QRect& r, int y) {
        for (int x = r.left(); x <= r.right(); ++x)
            if (prepared.image.pixelColor(x, y).lightness() < 128)
                return false;
        return true;
    };
    for (const QRect& r : regions)
        EXPECT_TRUE(blank(r, r.top()) && blank(r, r.bottom()))
            << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    QStringList rows;
    for (const QString& row : en.analyze(image).transcript.split('\n'))
        rows.append(row.simplified());
    EXPECT_EQ(rows.join('\n').toStdString(),
              (QStringList{heading} + left + right).join('\n').toStdString());
}

TEST(OCRScreens, OptionsBesideTheirDescriptionsAreReadRowByRow) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    const QList<QPair<QString, QString>> options{
        {"-a, --all", "do not ignore entries starting with ."},
        {"-b, --escape", "print C-style escapes for nongraphic characters"},
        {"-d, --directory", "list directories themselves, not their contents"},
        {"-h, --human-readable", "with -l and -s, print sizes like 1K 234M 2G"},
        {"-r, --reverse", "reverse order while sorting"},
        {"-S", "sort by file size, largest first"}};
    QImage image(900, 200, QImage::Format_RGB32);
    image.fill(QColor(30, 30, 30));
    QPainter p(&image);
    p.setPen(QColor(210, 210, 210));
    p.setFont(font("DejaVu Sans Mono", 14));
    QStringList expected;
    for (int i = 0; i < options.size(); ++i) {
        p.drawText(16, 28 + i * 26, options[i].first);
        p.drawText(260, 28 + i * 26, options[i].second);
        expected.append(options[i].first + ' ' + options[i].second);
    }
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    const QStringList rows = en.analyze(image).transcript.split('\n');
    ASSERT_EQ(rows.size(), expected.size());
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].simplified(), expected[i]);
}
