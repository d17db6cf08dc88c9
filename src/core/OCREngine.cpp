#include "core/OCREngine.h"

#include "core/DebugLog.h"
#include "core/TextCleanup.h"
#include "platform/BarcodeDetector.h"
#include "platform/LanguageTagger.h"
#include "platform/TextAnalyzer.h"

#include <QCoroFuture>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <functional>

namespace {

// The text half: the analyser's transcript as it comes and the models that read it, or
// nothing after one log line.
TextAnalyzer::Outcome recognizeText(TextAnalyzer& analyzer, const QImage& image,
                                    const std::function<QList<QRect>()>& codeAreas) {
    TextAnalyzer::Outcome outcome;
    try {
        outcome = analyzer.analyze(image, codeAreas);
    } catch (const std::exception& e) {
        outcome = {false, {}, QString::fromUtf8(e.what())};
    } catch (...) {
        outcome = {false, {}, QStringLiteral("unknown error")};
    }
    if (!outcome.ok) {
        DebugLog::log(QStringLiteral("OCR: ImageAnalyzer failed: ") + outcome.error);
        return {true, {}, {}, {}};
    }
    return outcome;
}

// The barcode half: what the detector found. A failing detector yields nothing.
QList<BarcodeDetector::Observation> detectBarcodes(BarcodeDetector& detector, const QImage& image) {
    try {
        return detector.detect(image);
    } catch (...) {
        return {};
    }
}

// Payloads in detector order, each distinct one once.
QStringList payloadsOf(const QList<BarcodeDetector::Observation>& observations) {
    QStringList payloads;
    QSet<QString> seen;
    for (const auto& observation : observations) {
        if (!observation.payload)
            continue;
        if (seen.contains(*observation.payload))
            continue;
        seen.insert(*observation.payload);
        payloads.append(*observation.payload);
    }
    return payloads;
}

} // namespace

OCREngine::OCREngine(TextAnalyzer& text, BarcodeDetector& codes, LanguageTagger& tagger)
    : m_text(text), m_codes(codes), m_tagger(tagger) {}

QCoro::Task<OCRResult> OCREngine::recognize(QImage image, Options options) const {
    TextAnalyzer& analyzer = m_text;
    // Both halves start now; the codes must not add their time to the text's. The text
    // half asks where the codes are only once its image is prepared, so that it can
    // leave them out: a code's modules are not text.
    QFuture<QList<BarcodeDetector::Observation>> codesFuture;
    if (options.detectCodes) {
        BarcodeDetector& detector = m_codes;
        codesFuture =
            QtConcurrent::run([&detector, image] { return detectBarcodes(detector, image); });
    }
    const bool codes = options.detectCodes;
    std::function<QList<QRect>()> codeAreas = [codesFuture, codes]() mutable {
        QList<QRect> areas;
        if (!codes)
            return areas;
        codesFuture.waitForFinished();
        for (const auto& observation : codesFuture.result())
            if (!observation.area.isEmpty())
                areas.append(observation.area);
        return areas;
    };
    QFuture<TextAnalyzer::Outcome> textFuture = QtConcurrent::run(
        [&analyzer, image, codeAreas] { return recognizeText(analyzer, image, codeAreas); });

    const TextAnalyzer::Outcome outcome = co_await textFuture;
    const QString& text = outcome.transcript;
    QStringList payloads;
    if (options.detectCodes)
        payloads = payloadsOf(co_await codesFuture);

    OCRResult result;
    result.vertical = TextCleanup::looksVertical(text);
    result.text = options.cleanupEnabled ? TextCleanup::clean(text) : text;
    result.barcodePayloads = payloads;
    result.models = outcome.models;
    co_return result;
}

std::optional<QString> OCREngine::dominantLanguage(const QString& text) const {
    if (text.isEmpty())
        return std::nullopt;
    return m_tagger.dominantLanguage(text);
}

OCREngine::~OCREngine() {
    for (QFuture<void>& warmUp : m_warmUps)
        warmUp.waitForFinished();
}

void OCREngine::keep(QFuture<void> warmUp) const {
    m_warmUps.removeIf([](const QFuture<void>& f) { return f.isFinished(); });
    m_warmUps.append(std::move(warmUp));
}

void OCREngine::warmUp(int engines) const {
    TextAnalyzer& analyzer = m_text;
    keep(QtConcurrent::run([&analyzer, engines] { analyzer.warmUp(engines); }));
}

void OCREngine::warmUpCertain() const {
    TextAnalyzer& analyzer = m_text;
    keep(QtConcurrent::run([&analyzer] { analyzer.warmUpCertain(); }));
}
