#pragma once

#include "platform/Recognition.h"

#include <memory>

class Cld2LanguageTagger;
class TesseractEnginePool;
class TesseractTextAnalyzer;
class ZXingBarcodeDetector;

// Tesseract for text (with its pool of warm engines), ZXing for codes, CLD2 for the language.
class OnDeviceRecognition : public Recognition {
public:
    OnDeviceRecognition();
    ~OnDeviceRecognition() override;

    TextAnalyzer& textAnalyzer() override;
    BarcodeDetector& barcodeDetector() override;
    LanguageTagger& languageTagger() override;

private:
    std::unique_ptr<TesseractEnginePool> m_pool;
    std::unique_ptr<TesseractTextAnalyzer> m_text;
    std::unique_ptr<ZXingBarcodeDetector> m_codes;
    std::unique_ptr<Cld2LanguageTagger> m_tagger;
};
