#include "platform/TesseractTextAnalyzer.h"

#include "platform/ScreenTextPreprocessor.h"
#include "platform/TesseractEnginePool.h"
#include "platform/TextLayout.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

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
        if (!line.text.trimmed().isEmpty())
            lines.append(line);
    } while (it->Next(tesseract::RIL_TEXTLINE));
    return lines;
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

    engine->SetPageSegMode(vertical ? tesseract::PSM_SINGLE_BLOCK_VERT_TEXT : tesseract::PSM_AUTO);
    const QImage& page = prepared.image;
    engine->SetImage(page.constBits(), page.width(), page.height(), 1, int(page.bytesPerLine()));
    // Upscaled screen text is about the size of 12 pt print at this resolution.
    engine->SetSourceResolution(300);
    if (engine->Recognize(nullptr) != 0)
        return {false, {}, QStringLiteral("recognition failed")};

    const QList<TextLayout::Line> lines = readLines(*engine);
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
