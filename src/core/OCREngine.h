#pragma once

#include "core/OCRResult.h"

#include <QCoro/QCoroTask>
#include <QFuture>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

class BarcodeDetector;
class LanguageTagger;
class TextAnalyzer;

// On-device recognition of one captured image: text and codes, on the recognisers it is
// built with. The capture and `glintext recognize` share it.
class OCREngine {
public:
    struct Options {
        bool cleanupEnabled = true;
        bool detectCodes = true;
    };

    OCREngine(TextAnalyzer& text, BarcodeDetector& codes, LanguageTagger& tagger);
    // Waits for a warm-up still loading: it uses the analyzer, which may go right after.
    ~OCREngine();
    OCREngine(const OCREngine&) = delete;
    OCREngine& operator=(const OCREngine&) = delete;

    // Never fails: every failure ends as empty text or no payloads. Call it on the GUI
    // thread; the work runs on the global thread pool.
    QCoro::Task<OCRResult> recognize(QImage image, Options options) const;

    // The dominant language of `text` ("ja", "en"), or nothing.
    std::optional<QString> dominantLanguage(const QString& text) const;

    // Starts loading the recognition engines in the background so that the first capture
    // does not pay for it. Returns at once. Two engines (about 18 MiB each for English) let
    // a tall crop be read on two cores.
    void warmUp(int engines = 2) const;

    // Starts loading, in the background, only the model that any image needs (none when
    // the image decides between models). For a one-off recognition right after start-up:
    // the load overlaps reading and preparing the image.
    void warmUpCertain() const;

private:
    TextAnalyzer& m_text;
    BarcodeDetector& m_codes;
    LanguageTagger& m_tagger;
    void keep(QFuture<void> warmUp) const;
    mutable QList<QFuture<void>> m_warmUps;
};
