#include "platform/tesseract/TesseractTextAnalyzer.h"

#include "platform/tesseract/CaptionRereading.h"
#include "platform/tesseract/IdeographWords.h"
#include "platform/tesseract/KeyCombinationText.h"
#include "platform/tesseract/LineNoise.h"
#include "platform/tesseract/LineNumberGutter.h"
#include "platform/tesseract/PageBands.h"
#include "platform/tesseract/ProseColumns.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/ScriptRereading.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractLines.h"
#include "platform/tesseract/TextLayout.h"

#include <tesseract/baseapi.h>

#include <QMap>

#include <algorithm>
#include <thread>

TesseractTextAnalyzer::TesseractTextAnalyzer(TesseractEnginePool& pool,
                                             RecognitionLanguages::Choice languages)
    : m_pool(pool), m_languages(std::move(languages)) {}

void TesseractTextAnalyzer::warmUp(int engines) {
    if (!m_languages.horizontal.isEmpty())
        m_pool.prewarm(m_languages.horizontal, engines);
}

void TesseractTextAnalyzer::warmUpCertain() {
    // With a vertical model to choose from, the crop decides which one is needed.
    if (!m_languages.horizontal.isEmpty() && m_languages.vertical.isEmpty())
        m_pool.prewarm(m_languages.horizontal, 1);
}

namespace {

// Words in a line of text. Japanese and Chinese set no spaces between words, and Korean
// sets them between phrases of a few syllables (or, in some texts, none): a run of
// ideographs or Hangul counts as a word per three characters, and a spaced Korean phrase
// ("<파일>", "표시합니다.") as one. A long token of other letters (an address, a German
// compound, a hyphenated name) holds the text of a word per six letters: a narrow column of
// such prose has few tokens a line, a column of options ("-s|--split", "[<FILE>]") few
// letters.
double wordsIn(const QString& text) {
    double count = 0;
    for (const QString& token : text.split(u' ', Qt::SkipEmptyParts)) {
        int cjk = 0, letters = 0;
        for (const QChar c : token) {
            const bool ideograph = c.unicode() >= 0x3040 && c.unicode() <= 0xd7af;
            cjk += ideograph;
            letters += !ideograph && c.isLetter();
        }
        count += std::max(1.0, cjk / 3.0 + letters / 6.0);
    }
    return count;
}

// Whether every block that stands beside another holds running text: lines of four words
// or more.
bool columnsHoldProse(const QList<TextLayout::Line>& lines) {
    QMap<int, QRect> boxes;
    QMap<int, QPair<int, double>> words; // lines, words
    for (const TextLayout::Line& line : lines) {
        boxes[line.block] = boxes[line.block].united(line.box);
        words[line.block].first += 1;
        words[line.block].second += wordsIn(line.text);
    }
    for (auto a = boxes.cbegin(); a != boxes.cend(); ++a) {
        const bool column = std::any_of(boxes.cbegin(), boxes.cend(), [&](const QRect& b) {
            return b != a.value() && (b.right() < a->left() || a->right() < b.left()) &&
                   std::min(b.bottom(), a->bottom()) > std::max(b.top(), a->top());
        });
        if (column && words[a.key()].second < 4.0 * words[a.key()].first)
            return false;
    }
    return true;
}

// How sure the recogniser is of a reading, weighted by how much text each line holds.
double confidenceOf(const QList<TextLayout::Line>& lines) {
    double weighted = 0;
    qsizetype characters = 0;
    for (const TextLayout::Line& line : lines) {
        weighted += double(line.confidence) * double(line.text.size());
        characters += line.text.size();
    }
    return characters ? weighted / double(characters) : 0;
}

} // namespace

struct TesseractTextAnalyzer::Reading {
    bool ok = false;
    bool vertical = false;
    QList<TextLayout::Line> lines;
};

TesseractTextAnalyzer::Reading
TesseractTextAnalyzer::readVertical(const ScreenTextPreprocessor::Prepared& prepared,
                                    const QList<QRect>& panels, const QString& model) {
    Reading reading;
    reading.vertical = true;
    TesseractEnginePool::Lease engine = m_pool.acquire(model);
    reading.ok = engine && TesseractLines::readPage(*engine, prepared.image,
                                                    tesseract::PSM_SINGLE_BLOCK_VERT_TEXT, panels,
                                                    &reading.lines);
    return reading;
}

// Columns of Japanese or Chinese on a desktop with no vertical model of its own: only where
// the ink clearly runs in columns, and only if a vertical model is surer than the rows were.
void TesseractTextAnalyzer::preferOtherVertical(const ScreenTextPreprocessor::Prepared& prepared,
                                                const QList<QRect>& panels, Reading& reading) {
    if (!m_languages.vertical.isEmpty() ||
        prepared.metrics.orientation != TextOrientation::Orientation::Vertical)
        return;
    for (const QString& model : m_languages.otherVertical) {
        Reading other = readVertical(prepared, panels, model);
        if (other.ok && confidenceOf(other.lines) > confidenceOf(reading.lines))
            reading = std::move(other);
    }
}

// Tall pages of many lines: the lower band goes to a second engine on the other core when
// one is idle, else to the same engine after the upper one.
bool TesseractTextAnalyzer::readBands(TesseractEnginePool::Lease& engine, const QImage& page,
                                      int cut, const QList<QRect>& panels,
                                      QList<TextLayout::Line>* lines) {
    const auto mode = tesseract::PSM_SINGLE_BLOCK;
    const QImage top = page.copy(0, 0, page.width(), cut);
    const QImage bottom = page.copy(0, cut, page.width(), page.height() - cut);
    QList<QRect> lowerPanels;
    for (const QRect& panel : panels)
        lowerPanels.append(panel.translated(0, -cut));
    QList<TextLayout::Line> lower;
    bool lowerOk = false;
    bool upperOk = false;
    TesseractEnginePool::Lease second = m_pool.acquireIdle(m_languages.horizontal);
    if (second) {
        std::thread helper([&] {
            lowerOk = TesseractLines::readPage(*second, bottom, mode, lowerPanels, &lower);
        });
        upperOk = TesseractLines::readPage(*engine, top, mode, panels, lines);
        helper.join();
    } else {
        upperOk = TesseractLines::readPage(*engine, top, mode, panels, lines);
        lowerOk = upperOk && TesseractLines::readPage(*engine, bottom, mode, lowerPanels, &lower);
    }
    if (!upperOk || !lowerOk)
        return false;
    PageBands::join(*lines, lower, cut);
    return true;
}

TesseractTextAnalyzer::Reading
TesseractTextAnalyzer::readHorizontal(const ScreenTextPreprocessor::Prepared& prepared,
                                      const QList<QRect>& panels) {
    Reading reading;
    TesseractEnginePool::Lease engine = m_pool.acquire(m_languages.horizontal);
    if (!engine)
        return reading;
    const QImage& page = prepared.image;
    // Columns of prose are cut apart along their gutters and read region by region, in
    // reading order. Everything else is read as one block: the recogniser's own page
    // layout splits menus, tables and short CJK lines into blocks it then misorders,
    // drops or turns on their side, where one block keeps every row a row.
    const QList<QRect> regions =
        ProseColumns::regions(page, prepared.metrics.glyphHeight * prepared.scale);
    if (!regions.isEmpty()) {
        reading.ok = TesseractLines::readRegions(*engine, page, prepared.border, regions, panels,
                                                 &reading.lines);
        // The pixels looked like columns of prose; the words say whether they were (an
        // option list beside its descriptions is read row by row).
        if (!reading.ok || columnsHoldProse(reading.lines))
            return reading;
        reading.lines.clear();
    }
    const int cut = PageBands::cut(page);
    if (cut > 0)
        reading.ok = readBands(engine, page, cut, panels, &reading.lines);
    else
        reading.ok = TesseractLines::readPage(*engine, page, tesseract::PSM_SINGLE_BLOCK, panels,
                                              &reading.lines);
    return reading;
}

TextAnalyzer::Outcome TesseractTextAnalyzer::analyze(const QImage& image) {
    return analyze(image, {});
}

TextAnalyzer::Outcome
TesseractTextAnalyzer::analyze(const QImage& image,
                               const std::function<QList<QRect>()>& codeAreas) {
    if (image.isNull())
        return {false, {}, QStringLiteral("the image is empty")};
    if (m_languages.horizontal.isEmpty())
        return {false, {}, QStringLiteral("no recognition model is installed")};

    ScreenTextPreprocessor::Prepared prepared = ScreenTextPreprocessor::prepare(image);
    // The codes were being read meanwhile. Where there are some, the page is prepared again
    // without them: their modules would come out as junk text and skew the glyph size.
    const QList<QRect> codes = codeAreas ? codeAreas() : QList<QRect>();
    if (!codes.isEmpty())
        prepared =
            ScreenTextPreprocessor::prepare(ScreenTextPreprocessor::withoutAreas(image, codes));
    // For tuning: the page exactly as Tesseract gets it.
    static const QString dumpPath = qEnvironmentVariable("GLINTEXT_OCR_DUMP");
    if (!dumpPath.isEmpty())
        prepared.image.save(dumpPath);
    if (!prepared.metrics.hasInk)
        return {true, {}, {}};

    QList<QRect> panels;
    for (const QRect& panel : prepared.panels)
        panels.append(ScreenTextPreprocessor::mapToPage(prepared, panel));
    using TextOrientation::Orientation;
    const Orientation orientation =
        m_languages.vertical.isEmpty() ? Orientation::Horizontal : prepared.metrics.orientation;
    Reading reading = orientation == Orientation::Vertical
                          ? readVertical(prepared, panels, m_languages.vertical)
                          : readHorizontal(prepared, panels);
    if (reading.ok)
        preferOtherVertical(prepared, panels, reading);
    if (orientation == Orientation::Undecided && reading.ok) {
        // The ink did not say; the reading the recogniser is surer of does.
        Reading other = readVertical(prepared, panels, m_languages.vertical);
        if (other.ok && confidenceOf(other.lines) > confidenceOf(reading.lines))
            reading = std::move(other);
    }
    if (!reading.ok)
        return {false, {}, QStringLiteral("recognition failed")};
    // Before the noise goes: a line in a script the desktop's models do not know reads as
    // doubtful junk until the right model reads it.
    if (!reading.vertical) {
        ScriptRereading(m_pool, m_languages).apply(prepared.image, reading.lines);
        IdeographWords(m_pool).repair(prepared.image, reading.lines);
        CaptionRereading(m_pool, m_languages)
            .apply(prepared.image, prepared.metrics.glyphHeight * prepared.scale, reading.lines);
    }
    LineNoise::drop(reading.lines);
    for (TextLayout::Line& line : reading.lines)
        line.text = KeyCombinationText::repair(line.text);
    QString transcript;
    if (reading.vertical) {
        // Columns come right to left already; the row logic would interleave them.
        QStringList texts;
        for (const TextLayout::Line& line : reading.lines)
            texts.append(line.text);
        transcript = texts.join(u'\n');
    } else {
        transcript = LineNumberGutter::strip(TextLayout::join(reading.lines));
    }
    QStringList models;
    for (const TextLayout::Line& line : reading.lines)
        for (const QString& model : line.models)
            if (!models.contains(model))
                models.append(model);
    return {true, transcript, {}, models};
}
