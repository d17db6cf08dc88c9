#include "PageRecognizer.h"

#include "ReadingOrder.h"
#include "platform/tesseract/SerialOpenMP.h"

#include <tesseract/baseapi.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>

namespace PageRecognizer {

namespace {

// Screen pixels: Tesseract's layout thresholds assume a resolution, and 96 dpi is what a
// screen capture is.
constexpr int screenDpi = 96;
// Tesseract loses single lines shorter than this; such crops are enlarged first.
constexpr int minimumHeight = 48;
constexpr size_t enginesPerThread = 3;

using Engine = std::unique_ptr<tesseract::TessBaseAPI>;

bool isCjk(const QStringList& languages) {
    for (const QString& language : languages) {
        if (language == "jpn" || language == "kor" || language.startsWith("chi_"))
            return true;
    }
    return false;
}

tesseract::TessBaseAPI* engineFor(const QStringList& languages) {
    thread_local std::map<QString, Engine> engines;
    const QString key = languages.join('+');
    if (auto found = engines.find(key); found != engines.end())
        return found->second.get();
    if (engines.size() >= enginesPerThread)
        engines.clear();
    auto engine = std::make_unique<tesseract::TessBaseAPI>();
    if (engine->Init(nullptr, key.toUtf8().constData(), tesseract::OEM_LSTM_ONLY) != 0)
        return nullptr;
    // Without it CJK text comes back with a space between every character.
    if (isCjk(languages))
        engine->SetVariable("preserve_interword_spaces", "1");
    return engines.emplace(key, std::move(engine)).first->second.get();
}

// Grey, dark text on light ground, and tall enough for one line to be read.
QImage prepare(const QImage& image, int* scale) {
    QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    qint64 sum = 0;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            sum += row[x];
    }
    if (sum < qint64(grey.width()) * grey.height() * 128)
        grey.invertPixels();
    *scale = 1;
    if (grey.height() < minimumHeight) {
        *scale = std::min(4, int(std::ceil(double(minimumHeight) / grey.height())));
        grey = grey.scaled(grey.size() * *scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return grey;
}

QString tidy(const QString& raw) {
    QStringList lines = raw.split('\n');
    for (QString& line : lines) {
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
    }
    return lines.join('\n').trimmed();
}

// `block` of `page` on a white margin, as Tesseract likes a block of text.
QImage padded(const QImage& page, const QRect& block) {
    constexpr int margin = 12;
    QImage out(block.width() + 2 * margin, block.height() + 2 * margin, QImage::Format_Grayscale8);
    out.fill(255);
    for (int y = 0; y < block.height(); ++y)
        std::memcpy(out.scanLine(y + margin) + margin,
                    page.constScanLine(block.top() + y) + block.left(), size_t(block.width()));
    return out;
}

QString readPage(tesseract::TessBaseAPI* engine, const QImage& page, int scale,
                 tesseract::PageSegMode mode = tesseract::PSM_AUTO) {
    engine->SetPageSegMode(mode);
    engine->SetImage(page.constBits(), page.width(), page.height(), 1, int(page.bytesPerLine()));
    engine->SetSourceResolution(screenDpi * scale);
    std::unique_ptr<char[]> text(engine->GetUTF8Text());
    engine->Clear();
    return tidy(QString::fromUtf8(text ? text.get() : ""));
}

} // namespace

std::optional<QString> read(const QImage& image, const QStringList& languages) {
    // Requests are read on the thread pool beside each other; an OpenMP team per request
    // would fight them for the same cores.
    SerialOpenMP::onThisThread();
    tesseract::TessBaseAPI* engine = engineFor(languages);
    if (!engine)
        return std::nullopt;
    int scale = 1;
    const QImage page = prepare(image, &scale);
    // Columns are found first and read one by one: on a crop of a few lines Tesseract's
    // own layout would join a line of one column with its neighbour in the next.
    const QList<ReadingOrder::Block> blocks = ReadingOrder::blocks(page);
    if (blocks.size() < 2)
        return readPage(engine, page, scale);
    QStringList texts;
    for (const ReadingOrder::Block& block : blocks) {
        const QString text =
            readPage(engine, padded(page, block.rect), scale,
                     block.column ? tesseract::PSM_SINGLE_BLOCK : tesseract::PSM_AUTO);
        if (!text.isEmpty())
            texts.append(text);
    }
    return texts.join(QStringLiteral("\n\n"));
}

} // namespace PageRecognizer
