// Text in a script the desktop's languages do not cover: Korean, Japanese and Russian on an
// English desktop are read with their own models, and the analyser says which read them.
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/ScriptShapes.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "support/TesseractModels.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// An English desktop on this machine: every installed model is there to fall back on.
RecognitionLanguages::Choice englishDesktop() {
    const QString dir = RecognitionLanguages::tessdataDirectory();
    return RecognitionLanguages::choose({"en-US", "en"},
                                        RecognitionLanguages::installedModels(dir));
}

// Dark lines on a light window, one below the other.
QImage lines(const QStringList& texts, const QString& family, int px) {
    QImage image(px * 24, int(texts.size()) * px * 2 + 20, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter p(&image);
    QFont font(family);
    font.setPixelSize(px);
    p.setFont(font);
    p.setPen(QColor(30, 30, 30));
    for (int i = 0; i < texts.size(); ++i)
        p.drawText(QRect(16, 10 + i * px * 2, image.width() - 32, px * 2), Qt::AlignVCenter,
                   texts[i]);
    return image;
}

} // namespace

TEST(OCRScripts, OtherScriptsAreTheInstalledModelsTheDesktopLacks) {
    const QStringList installed{"eng", "deu", "jpn", "kor", "chi_sim", "rus", "ukr", "osd"};
    const auto de = RecognitionLanguages::choose({"de"}, installed);
    EXPECT_EQ(de.ideographic, QStringList({"jpn", "chi_sim", "kor"}));
    EXPECT_EQ(de.alphabetic, QStringList({"rus", "ukr"}));
    const auto ja = RecognitionLanguages::choose({"ja", "ru"}, installed);
    EXPECT_EQ(ja.horizontal, "jpn+rus+eng");
    EXPECT_EQ(ja.ideographic, QStringList({"chi_sim", "kor"}));
    EXPECT_EQ(ja.alphabetic, QStringList({"ukr"}));
}

TEST(OCRScripts, IdeographsAndHangulAreToldFromAlphabetsByTheirShapes) {
    // As the recogniser gets the page: normalised and grown to its glyph size.
    QImage window =
        lines({"개인 키 잠금 풀기", "名前を付けて保存", "", ""}, "Noto Sans CJK JP", 15);
    QPainter p(&window);
    QFont font("DejaVu Sans");
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(QColor(30, 30, 30));
    p.drawText(16, 10 + 2 * 30 + 20, "Open the file as text, or keep its bytes as they are");
    p.drawText(16, 10 + 3 * 30 + 20, "Приостановить загрузку и показать результаты поиска");
    p.end();
    const ScreenTextPreprocessor::Prepared prepared = ScreenTextPreprocessor::prepare(window);
    const auto share = [&](int row) {
        const QRect line(0, 10 + row * 30, window.width(), 30);
        return ScriptShapes::ideographShare(prepared.image,
                                            ScreenTextPreprocessor::mapToPage(prepared, line));
    };
    // A pair of letters set close may look like one square cell, so a line of an alphabet
    // is not at zero; a line of ideographs or Hangul has twice as many such cells at least.
    const double alphabets = std::max(share(2), share(3));
    EXPECT_GE(share(0), 0.2) << "Hangul";
    EXPECT_GE(share(1), 0.2) << "kanji and kana";
    EXPECT_LE(alphabets, 0.12) << "Latin and Cyrillic";
    EXPECT_GE(std::min(share(0), share(1)), 2 * alphabets);
    EXPECT_EQ(ScriptShapes::ideographShare(prepared.image, QRect(-50, -50, 10, 10)), 0);
}

TEST(OCRScripts, KoreanJapaneseAndRussianOnAnEnglishDesktopAreReadWithTheirModels) {
    if (!hasModels({"eng", "kor", "jpn", "rus"}))
        GTEST_SKIP() << "models for other scripts are not installed";
    TesseractTextAnalyzer english(pool(), englishDesktop());

    const QStringList korean{"개인 키 잠금 풀기", "새 폴더 만들기", "설정 저장"};
    TextAnalyzer::Outcome read = english.analyze(lines(korean, "Noto Sans CJK KR", 18));
    EXPECT_EQ(read.transcript.toStdString(), korean.join('\n').toStdString());
    EXPECT_TRUE(read.models.contains("kor")) << read.models.join(',').toStdString();

    const QStringList japanese{"名前を付けて保存", "新しいウィンドウ", "印刷"};
    read = english.analyze(lines(japanese, "Noto Sans CJK JP", 18));
    EXPECT_EQ(read.transcript.remove(' ').toStdString(), japanese.join('\n').toStdString());
    EXPECT_TRUE(read.models.contains("jpn")) << read.models.join(',').toStdString();

    const QStringList russian{"Приостановить загрузку", "Результаты поиска", "Громче"};
    read = english.analyze(lines(russian, "DejaVu Sans", 16));
    EXPECT_EQ(read.transcript.toStdString(), russian.join('\n').toStdString());
    EXPECT_TRUE(read.models.contains("rus") || read.models.contains("ukr"))
        << read.models.join(',').toStdString();
}

TEST(OCRScripts, EnglishBesideAnotherScriptKeepsItsOwnReading) {
    if (!hasModels({"eng", "kor"}))
        GTEST_SKIP() << "no Korean model";
    TesseractTextAnalyzer english(pool(), englishDesktop());
    const QStringList mixed{"Unlock the private key", "개인 키 잠금 풀기", "Save the settings"};
    const TextAnalyzer::Outcome read = english.analyze(lines(mixed, "Noto Sans CJK KR", 18));
    EXPECT_EQ(read.transcript.toStdString(), mixed.join('\n').toStdString());
    EXPECT_EQ(read.models.first(), "eng");

    const QStringList plain{"Remove packages", "Download failed", "Connection timeout"};
    EXPECT_EQ(english.analyze(lines(plain, "DejaVu Sans", 15)).models, QStringList({"eng"}))
        << "English alone loads no other model";
}

TEST(OCRScripts, AnEnglishLineOnARussianPageStaysLatin) {
    if (!hasModels({"eng", "rus"}))
        GTEST_SKIP() << "no Russian model";
    TesseractTextAnalyzer english(pool(), englishDesktop());
    // Most of the page is Cyrillic, so another alphabet is tried on the lines English was
    // unsure of; an English line it read fairly well keeps its reading.
    const QStringList page{"Приостановить загрузку", "Результаты поиска", "Громче", "Bytes deleted",
                           "Удалить"};
    const TextAnalyzer::Outcome read = english.analyze(lines(page, "DejaVu Sans", 16));
    const QStringList rows = read.transcript.split('\n');
    ASSERT_EQ(rows.size(), page.size()) << read.transcript.toStdString();
    EXPECT_EQ(rows[3].toStdString(), "Bytes deleted");
    EXPECT_EQ(rows[0].toStdString(), page[0].toStdString());
}

TEST(OCRScripts, ALatinDesktopsLanguageIsReadByItsModelAlone) {
    if (!hasModels({"eng", "deu"}))
        GTEST_SKIP() << "no German model";
    const QStringList installed =
        RecognitionLanguages::installedModels(RecognitionLanguages::tessdataDirectory());
    TesseractTextAnalyzer german(pool(), RecognitionLanguages::choose({"de"}, installed));
    const QStringList own{"Datei öffnen", "Zuletzt verwendete Dateien", "Größe ändern"};
    const TextAnalyzer::Outcome read = german.analyze(lines(own, "DejaVu Sans", 15));
    EXPECT_EQ(read.transcript.toStdString(), own.join('\n').toStdString());
    EXPECT_EQ(read.models, QStringList({"deu"})) << "no second model on a German page";

    // A title bar with its buttons: its icons must not turn the page into one of
    // ideographs, which would have every CJK model loaded and tried.
    QImage window = lines({"", "Zuletzt verwendete Dateien", "Größe ändern"}, "DejaVu Sans", 15);
    QPainter p(&window);
    p.fillRect(0, 0, window.width(), 34, QColor(222, 221, 218));
    p.fillRect(8, 8, 18, 18, QColor(60, 90, 160));
    p.setPen(QPen(QColor(40, 40, 40), 2));
    for (int i = 0; i < 3; ++i) {
        const QRect button(window.width() - 30 * (i + 1), 9, 16, 16);
        if (i == 0) {
            p.drawLine(button.topLeft(), button.bottomRight());
            p.drawLine(button.topRight(), button.bottomLeft());
        } else if (i == 1) {
            p.drawRect(button);
        } else {
            p.drawLine(button.left(), button.bottom(), button.right(), button.bottom());
        }
    }
    p.setPen(QColor(40, 40, 40));
    QFont bold("DejaVu Sans");
    bold.setPixelSize(15);
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRect(0, 0, window.width(), 34), Qt::AlignCenter, "Einstellungen");
    p.end();
    const TextAnalyzer::Outcome decorated = german.analyze(window);
    EXPECT_TRUE(decorated.transcript.startsWith("Einstellungen"));
    EXPECT_TRUE(decorated.transcript.endsWith("\nZuletzt verwendete Dateien\nGröße ändern"))
        << decorated.transcript.toStdString();
    for (const QString& model : decorated.models)
        EXPECT_TRUE(model == "deu" || model == "eng") << model.toStdString();
}

namespace {

// A terminal: light monospaced text on black, one line under the other.
QImage terminal(const QStringList& texts, int px) {
    QImage image(px * 48, int(texts.size()) * (px + 6) + 16, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(px);
    p.setFont(font);
    p.setPen(QColor(211, 215, 207));
    for (int i = 0; i < texts.size(); ++i)
        p.drawText(8, 8 + px + i * (px + 6), texts[i]);
    return image;
}

} // namespace

TEST(OCRScripts, CyrillicThatEnglishReadsAsFairlySureHomoglyphsIsReadAgain) {
    if (!hasModels({"eng", "ukr"}))
        GTEST_SKIP() << "no Ukrainian model";
    // The English model makes fairly confident Latin words of most Cyrillic letters
    // ("Akwo y uiei rpynu"); paths among them are English.
    const QStringList manual{"Якщо у цієї групи є запис у /etc/gshadow, список",
                             "користувачів і пароль цієї групи буде взято з цього",
                             "запису. Якщо запису немає, буде враховано запис",
                             "у /etc/group.",
                             "/etc/passwd",
                             "    Відомості щодо облікових записів користувачів.",
                             "/etc/shadow",
                             "    Відомості щодо захищених облікових записів.",
                             "/etc/group",
                             "    Відомості щодо груп облікових записів.",
                             "/etc/gshadow"};
    TesseractTextAnalyzer english(pool(), englishDesktop());
    const TextAnalyzer::Outcome read = english.analyze(terminal(manual, 16));
    EXPECT_TRUE(read.models.contains("ukr") || read.models.contains("rus"))
        << read.models.join(',').toStdString() << read.transcript.toStdString();
    EXPECT_TRUE(read.transcript.contains(QStringLiteral("Якщо у")) &&
                read.transcript.contains(QStringLiteral("групи")))
        << read.transcript.toStdString();
    EXPECT_TRUE(read.transcript.contains("/etc/group")) << read.transcript.toStdString();
}

TEST(OCRScripts, ASmallJapaneseDialogOnAnEnglishDesktopIsReadInJapanese) {
    if (!hasModels({"eng", "jpn"}))
        GTEST_SKIP() << "no Japanese model";
    // Small type whose ideographs the ink test mostly misses: the English model's doubt
    // over nearly every line is the evidence.
    const QStringList dialog{"キーリングのパスワードを変更", "保存されたパスワードを削除",
                             "ロック解除に失敗しました", "このキーリングを既定にする",
                             "OK(O)  キャンセル(C)"};
    TesseractTextAnalyzer english(pool(), englishDesktop());
    const TextAnalyzer::Outcome read = english.analyze(lines(dialog, "Noto Sans CJK JP", 12));
    EXPECT_TRUE(read.models.contains("jpn")) << read.models.join(',').toStdString();
    EXPECT_TRUE(QString(read.transcript).remove(' ').contains(QStringLiteral("パスワード")))
        << read.transcript.toStdString();
}
