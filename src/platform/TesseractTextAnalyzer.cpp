#include "platform/TesseractTextAnalyzer.h"

#include "platform/ScreenTextPreprocessor.h"
#include "platform/TesseractEnginePool.h"
#include "platform/TextLayout.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <QSet>

#include <memory>

TextAnalyzer& TextAnalyzer::system() {
    static TesseractTextAnalyzer analyzer(TesseractEnginePool::shared(),
                                          RecognitionLanguages::forThisUser());
    return analyzer;
}

TesseractTextAnalyzer::TesseractTextAnalyzer(TesseractEnginePool& pool,
                                             RecognitionLanguages::Choice languages)
    : m_pool(pool), m_languages(std::move(languages)) {}

void TesseractTextAnalyzer::warmUp() {
    if (!m_languages.horizontal.isEmpty())
        m_pool.prewarm(m_languages.horizontal);
}

namespace {

constexpr float noiseConfidence = 10;
constexpr float shortNoiseConfidence = 35;

QString trimmedLine(const char* utf8) {
    QString s = QString::fromUtf8(utf8);
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

QList<TextLayout::Line> readLines(tesseract::TessBaseAPI& api) {
    QList<TextLayout::Line> lines;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it)
        return lines;
    int block = -1;
    do {
        if (it->IsAtBeginningOf(tesseract::RIL_BLOCK))
            ++block;
        std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
        if (!text)
            continue;
        TextLayout::Line line;
        line.text = trimmedLine(text.get());
        line.block = std::max(0, block);
        int left = 0, top = 0, right = 0, bottom = 0;
        it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom);
        line.box = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
        line.confidence = it->Confidence(tesseract::RIL_TEXTLINE);
        if (qEnvironmentVariableIsSet("GLINTEXT_OCR_DUMP"))
            qInfo("line block %d conf %.0f: %s", line.block, line.confidence,
                  qPrintable(line.text));
        if (!line.text.trimmed().isEmpty())
            lines.append(line);
    } while (it->Next(tesseract::RIL_TEXTLINE));
    return lines;
}

// Lines the recogniser itself doubts, when short, are what it made of icons and codes.
bool isNoise(const TextLayout::Line& line) {
    int alphanumeric = 0;
    for (const QChar c : line.text)
        alphanumeric += c.isLetterOrNumber();
    return line.confidence < noiseConfidence ||
           (line.confidence < shortNoiseConfidence && alphanumeric <= 4);
}

// What the recogniser reads into icons, bullets and check boxes in front of an item.
bool isIconToken(const QString& token) {
    static const QString icons = QStringLiteral("@©®¢§¶•■□▪●○◆◇☐☑«»");
    return token.size() == 1 && icons.contains(token.front());
}

void dropNoise(QList<TextLayout::Line>& lines) {
    lines.removeIf(isNoise);
    for (TextLayout::Line& line : lines) {
        const qsizetype space = line.text.indexOf(u' ');
        if (space > 0 && isIconToken(line.text.left(space)))
            line.text = line.text.mid(space).trimmed();
    }
}

// How many glyph-like ink components lie outside every believable line.
int uncoveredGlyphs(const ScreenTextPreprocessor::Prepared& prepared,
                    const QList<TextLayout::Line>& lines) {
    int uncovered = 0;
    for (const QRect& glyph : prepared.metrics.glyphs) {
        const QPoint centre = ScreenTextPreprocessor::mapToPage(prepared, glyph).center();
        bool covered = false;
        for (const TextLayout::Line& line : lines) {
            if (!isNoise(line) && line.box.adjusted(-2, -2, 2, 2).contains(centre)) {
                covered = true;
                break;
            }
        }
        uncovered += !covered;
    }
    return uncovered;
}

int blockCount(const QList<TextLayout::Line>& lines) {
    QSet<int> blocks;
    for (const TextLayout::Line& line : lines)
        blocks.insert(line.block);
    return int(blocks.size());
}

} // namespace

TextAnalyzer::Outcome TesseractTextAnalyzer::analyze(const QImage& image) {
    if (image.isNull())
        return {false, {}, QStringLiteral("the image is empty")};
    if (m_languages.horizontal.isEmpty())
        return {false, {}, QStringLiteral("no recognition model is installed")};

    const ScreenTextPreprocessor::Prepared prepared = ScreenTextPreprocessor::prepare(image);
    // For tuning: the page exactly as Tesseract gets it.
    static const QString dumpPath = qEnvironmentVariable("GLINTEXT_OCR_DUMP");
    if (!dumpPath.isEmpty())
        prepared.image.save(dumpPath);
    if (!prepared.metrics.hasInk)
        return {true, {}, {}};

    const bool vertical = prepared.metrics.verticalLayout && !m_languages.vertical.isEmpty();
    TesseractEnginePool::Lease engine =
        m_pool.acquire(vertical ? m_languages.vertical : m_languages.horizontal);
    if (!engine)
        return {false, {}, QStringLiteral("the recognition model could not be loaded")};

    const QImage& page = prepared.image;
    auto recognizeAs = [&](tesseract::PageSegMode mode, QList<TextLayout::Line>* lines) {
        engine->SetPageSegMode(mode);
        engine->SetImage(page.constBits(), page.width(), page.height(), 1,
                         int(page.bytesPerLine()));
        // Upscaled screen text is about the size of 12 pt print at this resolution.
        engine->SetSourceResolution(300);
        if (engine->Recognize(nullptr) != 0)
            return false;
        *lines = readLines(*engine);
        return true;
    };
    QList<TextLayout::Line> lines;
    if (!recognizeAs(vertical ? tesseract::PSM_SINGLE_BLOCK_VERT_TEXT : tesseract::PSM_AUTO,
                     &lines))
        return {false, {}, QStringLiteral("recognition failed")};
    if (!vertical && blockCount(lines) > 1 && !TextLayout::hasProseColumns(lines) &&
        uncoveredGlyphs(prepared, lines) > 0) {
        // Several blocks, no columns of prose, and glyphs left unread: a table or a
        // terminal, where the page layout drops isolated cells. Reading the crop as one
        // block keeps every row whole; it wins only if it reads more of the ink.
        QList<TextLayout::Line> single;
        if (recognizeAs(tesseract::PSM_SINGLE_BLOCK, &single) &&
            uncoveredGlyphs(prepared, single) < uncoveredGlyphs(prepared, lines))
            lines = single;
    }
    dropNoise(lines);
    QString transcript;
    if (vertical) {
        // Columns come right to left already; the row logic would interleave them.
        QStringList texts;
        for (const TextLayout::Line& line : lines)
            texts.append(line.text);
        transcript = texts.join(u'\n');
    } else {
        transcript = TextLayout::join(lines);
    }
    return {true, transcript, {}};
}
