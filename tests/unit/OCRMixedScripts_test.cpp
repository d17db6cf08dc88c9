// CJK text with Latin beside it on real screens: ideographs the English model took for
// Latin words, Korean options beside their descriptions, and the light label of a dark
// toolbar among buttons with dark frames.
#include "platform/tesseract/IdeographWords.h"
#include "platform/tesseract/LineGaps.h"
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "support/TesseractModels.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

QFont font(const QString& family, int px) {
    QFont f(family);
    f.setPixelSize(px);
    return f;
}

} // namespace

TEST(OCRMixedScripts, IdeographsTheEnglishModelMisreadAreReadAgainLatinTermsStay) {
    if (!hasModels({"chi_sim"}))
        GTEST_SKIP() << "no Simplified Chinese model";
    // A page as the recogniser gets it: one line, a run of ideographs, a Latin term and
    // more ideographs.
    QImage page(760, 80, QImage::Format_Grayscale8);
    page.fill(255);
    QPainter p(&page);
    p.setPen(Qt::black);
    p.setFont(font("Noto Sans CJK SC", 24));
    const QString first = QStringLiteral("覆盖部件的高度请求");
    const QString last = QStringLiteral("代表应使用正常请求");
    const int firstWidth = p.fontMetrics().horizontalAdvance(first);
    const int termLeft = 20 + firstWidth + 12;
    const int termWidth = p.fontMetrics().horizontalAdvance(QStringLiteral("element"));
    const int lastLeft = termLeft + termWidth + 12;
    p.drawText(20, 50, first);
    p.drawText(termLeft, 50, QStringLiteral("element"));
    p.drawText(lastLeft, 50, last);
    p.end();
    // What the two models made of it together: the first run as two Latin words.
    TextLayout::Line line;
    line.box = QRect(16, 27, 740, 28);
    line.text = QStringLiteral("RSME BEER, element ") + last;
    const int half = firstWidth / 2;
    line.words = {{QRect(20, 24, half, 32), "eng", 62, "RSME"},
                  {QRect(20 + half, 24, firstWidth - half, 32), "eng", 58, "BEER,"},
                  {QRect(termLeft, 28, termWidth, 24), "eng", 91, "element"},
                  {QRect(lastLeft, 24, 9 * 24, 32), "chi_sim", 93, last}};
    line.confidence = 75;
    line.models = {"eng", "chi_sim"};
    QList<TextLayout::Line> lines{line};
    IdeographWords(pool()).repair(page, lines);
    const QString text = lines[0].text;
    EXPECT_TRUE(text.startsWith(first.left(4))) << text.toStdString();
    EXPECT_FALSE(text.contains("RSME") || text.contains("BEER")) << text.toStdString();
    EXPECT_TRUE(text.contains(" element ")) << "the Latin term stays as read";
    EXPECT_TRUE(text.endsWith(last));
    QString spelt;
    for (const TextLayout::Word& w : lines[0].words)
        spelt += w.text;
    EXPECT_EQ(spelt, QString(text).remove(' ')) << "the words still spell the text";

    // A page no CJK model read: nothing to repair with.
    QList<TextLayout::Line> latin{line};
    for (TextLayout::Word& w : latin[0].words)
        w.model = "eng";
    IdeographWords(pool()).repair(page, latin);
    EXPECT_EQ(latin[0].text, line.text);
}

TEST(OCRMixedScripts, LatinWordsTheKoreanModelReadAsDigitsAreReadAgainInEnglish) {
    if (!hasModels({"kor", "eng"}))
        GTEST_SKIP() << "no Korean model";
    // A Korean line with Latin terms and a real number among its words.
    const QStringList words{QStringLiteral("SSH"),  QStringLiteral("키는"),
                            QStringLiteral("SHA1"), QStringLiteral("서명을"),
                            QStringLiteral("2048"), QStringLiteral("비트로")};
    QImage page(900, 80, QImage::Format_Grayscale8);
    page.fill(255);
    QPainter p(&page);
    p.setPen(Qt::black);
    p.setFont(font("Noto Sans CJK KR", 26));
    QList<QRect> boxes;
    int x = 20;
    for (const QString& w : words) {
        p.drawText(x, 52, w);
        boxes.append(QRect(x, 24, p.fontMetrics().horizontalAdvance(w), 36));
        x += boxes.last().width() + 18;
    }
    p.end();
    // What the Korean model made of it: the Latin terms as digits and signs.
    const QStringList read{QStringLiteral("5511"),   QStringLiteral("키는"),
                           QStringLiteral("50441&"), QStringLiteral("서명을"),
                           QStringLiteral("2048"),   QStringLiteral("비트로")};
    TextLayout::Line line;
    line.box = QRect(16, 22, x, 40);
    line.text = read.join(' ');
    for (int i = 0; i < read.size(); ++i)
        line.words.append({boxes[i], "kor", i % 2 ? 90.0f : 40.0f, read[i]});
    line.words[4].confidence = 93;
    line.confidence = 70;
    line.models = {"kor"};
    QList<TextLayout::Line> lines{line};
    IdeographWords(pool()).repair(page, lines);
    const QString text = lines[0].text;
    EXPECT_TRUE(text.startsWith("SSH 키는 SHA1 서명을")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("2048 비트로")) << "Korean words and a sure number stay";
    QString spelt;
    for (const TextLayout::Word& w : lines[0].words)
        spelt += w.text;
    EXPECT_EQ(spelt, QString(text).remove(' ')) << "the words still spell the text";
}

TEST(OCRMixedScripts, KoreanOptionsBesideTheirDescriptionsAreReadRowByRow) {
    if (!hasModels({"kor", "eng"}))
        GTEST_SKIP() << "no Korean model";
    // Korean sets spaces between its words: its short descriptions are no prose.
    const QList<QPair<QString, QString>> options{
        {QStringLiteral("-s|--split <파일> [<접두어>]"),
         QStringLiteral("아카이브를 여러 부분으로 나눕니다.")},
        {QStringLiteral("-j|--join <부분> <부분> ..."),
         QStringLiteral("여러 부분을 하나로 합칩니다.")},
        {QStringLiteral("-I|--info <부분> <부분> ..."),
         QStringLiteral("한 부분에 관한 정보를 표시합니다.")},
        {QStringLiteral("-a|--auto -o <전체> <부분>"),
         QStringLiteral("각 부분을 자동으로 연결합니다.")},
        {QStringLiteral("-d|--discard [<파일이름> ...]"),
         QStringLiteral("안 맞는 부분을 모두 버립니다.")},
        {QStringLiteral("-A|--add <파일> [<패키지>]"),
         QStringLiteral("전환 파일을 목록에 추가합니다.")},
        {QStringLiteral("-R|--remove <파일> [<부분>]"),
         QStringLiteral("전환 파일을 목록에서 제거합니다.")},
        {QStringLiteral("-L|--list [<글로브패턴>] ..."),
         QStringLiteral("전환 파일 목록을 모두 표시합니다.")}};
    // As a browser shows `--help` text at a scale of 2: a monospaced font, wide rows.
    QImage image(1280, int(options.size()) * 40 + 40, QImage::Format_RGB32);
    image.fill(QColor(30, 30, 30));
    QPainter p(&image);
    p.setPen(QColor(220, 220, 220));
    p.setFont(font("Noto Sans Mono CJK KR", 32));
    for (int i = 0; i < options.size(); ++i) {
        p.drawText(60, 50 + i * 40, options[i].first);
        p.drawText(660, 50 + i * 40, options[i].second);
    }
    p.end();
    TesseractTextAnalyzer ko(pool(), {"kor+eng", ""});
    const QStringList rows = ko.analyze(image).transcript.split('\n');
    ASSERT_EQ(rows.size(), options.size()) << rows.join('|').toStdString();
    for (int i = 0; i < rows.size(); ++i) {
        // The option and its description on one row, in this order.
        const qsizetype description = rows[i].lastIndexOf(options[i].second.section(' ', 1, 1));
        EXPECT_GT(description, rows[i].indexOf('<')) << rows[i].toStdString();
        EXPECT_GE(rows[i].indexOf('<'), 0) << rows[i].toStdString();
    }
}

TEST(OCRMixedScripts, ALightLabelAmongDarkFramedButtonsIsKept) {
    if (!hasModels({"eng"}))
        GTEST_SKIP() << "no English model";
    // A dark toolbar: buttons a shade darker with frames darker still, and one plain label
    // among them. The frames' long edges outnumber the label's strokes; they are no text.
    QImage image(1000, 60, QImage::Format_RGB32);
    image.fill(QColor(56, 56, 56));
    QPainter p(&image);
    p.setFont(font("DejaVu Sans", 15));
    const QStringList buttons{"Bookmarks", "Reload page", "Downloads", "Preferences"};
    int x = 10;
    for (int i = 0; i < buttons.size(); ++i) {
        if (i == 2) {
            p.setPen(QColor(238, 238, 236));
            p.drawText(x + 8, 36, "Open link");
            x += 130;
        }
        const QRect button(x, 12, 190, 36);
        p.fillRect(button, QColor(27, 27, 27));
        p.fillRect(button.adjusted(2, 2, -2, -2), QColor(48, 48, 48));
        p.setPen(QColor(238, 238, 236));
        p.drawText(button, Qt::AlignCenter, buttons[i]);
        x += 205;
    }
    p.end();
    TesseractTextAnalyzer en(pool(), {"eng", ""});
    const QString text = en.analyze(image).transcript;
    EXPECT_TRUE(text.contains("Open link")) << text.toStdString();
    for (const QString& b : buttons)
        EXPECT_TRUE(text.contains(b)) << text.toStdString();
    EXPECT_FALSE(text.contains('|')) << "frames are not read as bars: " << text.toStdString();
}

TEST(OCRMixedScripts, LinesSetCloseAreWidenedApartAndMappedBack) {
    // Three lines of blocks one row apart, and a row of dots above the first (accents):
    // the dots stay where they are.
    QImage page(200, 120, QImage::Format_Grayscale8);
    page.fill(255);
    QPainter p(&page);
    for (int x = 20; x < 180; x += 20)
        p.fillRect(x, 10, 3, 3, Qt::black);
    for (int line = 0; line < 3; ++line)
        p.fillRect(10, 15 + line * 21, 180, 20, Qt::black);
    p.end();
    const LineGaps gaps(page);
    ASSERT_TRUE(gaps.widened());
    EXPECT_EQ(gaps.image().height(), page.height() + 2 * 7) << "two gaps, each to 8 rows";
    const QRect second(10, 36, 180, 20);
    const QRect widened = gaps.toWidened(second);
    EXPECT_EQ(widened.top(), 36 + 7);
    EXPECT_EQ(gaps.toPage(widened), second);
    EXPECT_EQ(gaps.toWidened(QRect(20, 10, 3, 3)), QRect(20, 10, 3, 3)) << "the dots";
    // A box reaching into an inserted gap ends on the page row beside it.
    EXPECT_EQ(gaps.toPage(QRect(10, 15, 180, 24)).bottom(), 36);

    QImage spaced(200, 120, QImage::Format_Grayscale8);
    spaced.fill(255);
    QPainter q(&spaced);
    for (int line = 0; line < 3; ++line)
        q.fillRect(10, 10 + line * 30, 180, 20, Qt::black);
    q.end();
    EXPECT_FALSE(LineGaps(spaced).widened());
}

TEST(OCRMixedScripts, ChineseLinesSetCloseAreReadOneByOne) {
    if (!hasModels({"chi_tra", "eng"}))
        GTEST_SKIP() << "no Traditional Chinese model";
    const QStringList texts{QStringLiteral("以下選項是在指定了選項時被用於設定如何遍歷目錄結構"),
                            QStringLiteral("體系。如果您指定了多於一個選項，那麼只有最後一個會生"),
                            QStringLiteral("效。"),
                            QStringLiteral("本頁面中文版由中文手冊頁計劃提供。中文手冊頁計劃")};
    QImage image(520, 110, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QColor(20, 20, 20));
    p.setFont(font("Noto Serif CJK TC", 15));
    for (int i = 0; i < texts.size(); ++i)
        p.drawText(10, 24 + i * 17, texts[i]);
    p.end();
    TesseractTextAnalyzer zh(pool(), {"chi_tra+eng", ""});
    const QStringList rows = zh.analyze(image).transcript.split('\n');
    ASSERT_EQ(rows.size(), texts.size()) << rows.join('|').toStdString();
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("效"))) << rows[2].toStdString();
}

TEST(OCRMixedScripts, TheCombinationTheCjkModelLeadsRereadsItsRunsWithoutASecondLoad) {
    if (!hasModels({"chi_sim", "eng"}))
        GTEST_SKIP() << "no Simplified Chinese model";
    QImage page(520, 80, QImage::Format_Grayscale8);
    page.fill(255);
    QPainter p(&page);
    p.setPen(Qt::black);
    p.setFont(font("Noto Sans CJK SC", 24));
    const QString first = QStringLiteral("覆盖部件的高度请求");
    const QString last = QStringLiteral("正常请求");
    const int firstWidth = p.fontMetrics().horizontalAdvance(first);
    const int lastLeft = 20 + firstWidth + 14;
    p.drawText(20, 50, first);
    p.drawText(lastLeft, 50, last);
    p.end();
    TextLayout::Line line;
    line.box = QRect(16, 27, 500, 28);
    line.text = QStringLiteral("RSME BEER, ") + last;
    const int half = firstWidth / 2;
    line.words = {{QRect(20, 24, half, 32), "eng", 62, "RSME"},
                  {QRect(20 + half, 24, firstWidth - half, 32), "eng", 58, "BEER,"},
                  {QRect(lastLeft, 24, 4 * 24, 32), "chi_sim", 93, last}};
    line.confidence = 70;
    line.models = {"eng", "chi_sim"};

    // A desktop reading Chinese with English beside it: its engine is idle once the page
    // is read, and the run is read again by it, not by a second copy of the Chinese model.
    TesseractEnginePool own(RecognitionLanguages::tessdataDirectory());
    own.prewarm("chi_sim+eng");
    QList<TextLayout::Line> lines{line};
    IdeographWords(own).repair(page, lines);
    EXPECT_TRUE(lines[0].text.startsWith(first.left(4))) << lines[0].text.toStdString();
    EXPECT_EQ(own.idleCount("chi_sim"), 0) << "the Chinese model was loaded a second time";
    EXPECT_EQ(own.idleCount("chi_sim+eng"), 1);

    // The engine it leads is the only one lent that way: not one English merely follows in,
    // and not one at work.
    EXPECT_FALSE(own.acquireLedBy("eng"));
    TesseractEnginePool::Lease led = own.acquireLedBy("chi_sim");
    EXPECT_TRUE(led);
    EXPECT_FALSE(own.acquireLedBy("chi_sim"));
}
