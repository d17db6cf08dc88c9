#pragma once

#include "core/OCRResult.h"

#include <QCoro/QCoroTask>
#include <QImage>
#include <QString>

#include <optional>

class BarcodeDetector;
class LanguageTagger;
class TextAnalyzer;

// On-device recognition of one captured image: text and codes.
namespace OCREngine {

struct Options {
    bool cleanupEnabled = true;
    bool detectCodes = true;
};

// Never fails: every failure ends as empty text or no payloads. Reads the clean-up and
// code settings once, at the start of the call; must be called on the GUI thread.
QCoro::Task<OCRResult> recognize(QImage image);
// The same with explicit options (the command line, which must not touch the settings).
QCoro::Task<OCRResult> recognize(QImage image, Options options);

// The dominant language of `text` ("ja", "en"), or nothing.
std::optional<QString> dominantLanguage(const QString& text);

// Starts loading the recognition engines in the background so that the first capture
// does not pay for it. Returns at once. Two engines (about 18 MiB each for English) let
// a tall crop be read on two cores.
void warmUp(int engines = 2);

// Starts loading, in the background, only the model that any image needs (none when
// the image decides between models). For a one-off recognition right after start-up:
// the load overlaps reading and preparing the image.
void warmUpCertain();

// The platform operations the engine uses; nullptr restores the system's own. For tests.
struct Services {
    TextAnalyzer* text = nullptr;
    BarcodeDetector* codes = nullptr;
    LanguageTagger* tagger = nullptr;
};
void setServices(const Services& services);

} // namespace OCREngine
