#include "core/OCREngine.h"

#include "core/AppSettings.h"
#include "core/DebugLog.h"
#include "core/TextCleanup.h"
#include "platform/BarcodeDetector.h"
#include "platform/LanguageTagger.h"
#include "platform/TextAnalyzer.h"

#include <QCoroFuture>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <exception>
#include <functional>

namespace OCREngine {

namespace {

std::atomic<TextAnalyzer*> g_text{nullptr};
std::atomic<BarcodeDetector*> g_codes{nullptr};
std::atomic<LanguageTagger*> g_tagger{nullptr};

TextAnalyzer& textAnalyzer() {
    TextAnalyzer* t = g_text.load();
    return t ? *t : TextAnalyzer::system();
}

BarcodeDetector& barcodeDetector() {
    BarcodeDetector* d = g_codes.load();
    return d ? *d : BarcodeDetector::system();
}

LanguageTagger& languageTagger() {
    LanguageTagger* t = g_tagger.load();
    return t ? *t : LanguageTagger::system();
}

// The text half: the analyser's transcript as it comes, or "" after one log line.
QString recognizeText(TextAnalyzer& analyzer, const QImage& image,
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
        return {};
    }
    return outcome.transcript;
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

QCoro::Task<OCRResult> recognize(QImage image) {
    const AppSettings& settings = AppSettings::shared();
    const Options options{settings.cleanupEnabled(), settings.detectQR()};
    co_return co_await recognize(std::move(image), options);
}

QCoro::Task<OCRResult> recognize(QImage image, Options options) {
    TextAnalyzer& analyzer = textAnalyzer();
    // Both halves start now; the codes must not add their time to the text's. The text
    // half asks where the codes are only once its image is prepared, so that it can
    // leave them out: a code's modules are not text.
    QFuture<QList<BarcodeDetector::Observation>> codesFuture;
    if (options.detectCodes) {
        BarcodeDetector& detector = barcodeDetector();
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
    QFuture<QString> textFuture = QtConcurrent::run(
        [&analyzer, image, codeAreas] { return recognizeText(analyzer, image, codeAreas); });

    QString text = co_await textFuture;
    QStringList payloads;
    if (options.detectCodes)
        payloads = payloadsOf(co_await codesFuture);

    OCRResult result;
    result.vertical = TextCleanup::looksVertical(text);
    result.text = options.cleanupEnabled ? TextCleanup::clean(text) : text;
    result.barcodePayloads = payloads;
    co_return result;
}

std::optional<QString> dominantLanguage(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    return languageTagger().dominantLanguage(text);
}

void warmUp(int engines) {
    TextAnalyzer& analyzer = textAnalyzer();
    (void)QtConcurrent::run([&analyzer, engines] { analyzer.warmUp(engines); });
}

void warmUpCertain() {
    TextAnalyzer& analyzer = textAnalyzer();
    (void)QtConcurrent::run([&analyzer] { analyzer.warmUpCertain(); });
}

void setServices(const Services& services) {
    g_text.store(services.text);
    g_codes.store(services.codes);
    g_tagger.store(services.tagger);
}

} // namespace OCREngine
