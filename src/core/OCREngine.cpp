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

namespace {

// The text half: the analyser's transcript as it comes, or "" after one log line.
QString recognizeText(TextAnalyzer& analyzer, const QImage& image) {
    TextAnalyzer::Outcome outcome;
    try {
        outcome = analyzer.analyze(image);
    } catch (const std::exception& e) {
        outcome = {false, {}, QString::fromUtf8(e.what())};
    } catch (...) {
        outcome = {false, {}, QStringLiteral("unknown error")};
    }
    if (!outcome.ok) {
        DebugLog::log(QStringLiteral("OCR: ImageAnalyzer failed: ") + outcome.error);
        return {};
    }
    return outcome.transcript;
}

// The barcode half: payloads in detector order, each distinct one once. A failing
// detector yields whatever it had (nothing).
QStringList detectBarcodes(BarcodeDetector& detector, const QImage& image) {
    QList<BarcodeDetector::Observation> observations;
    try {
        observations = detector.detect(image);
    } catch (...) {
        observations.clear();
    }
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
    // Both halves start now; the codes must not add their time to the text's.
    QFuture<QString> textFuture =
        QtConcurrent::run([&analyzer, image] { return recognizeText(analyzer, image); });
    QFuture<QStringList> codesFuture;
    if (options.detectCodes) {
        BarcodeDetector& detector = m_codes;
        codesFuture =
            QtConcurrent::run([&detector, image] { return detectBarcodes(detector, image); });
    }

    QString text = co_await textFuture;
    QStringList payloads;
    if (options.detectCodes)
        payloads = co_await codesFuture;

    OCRResult result;
    result.vertical = TextCleanup::looksVertical(text);
    result.text = options.cleanupEnabled ? TextCleanup::clean(text) : text;
    result.barcodePayloads = payloads;
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
