#pragma once

class BarcodeDetector;
class LanguageTagger;
class TextAnalyzer;

// The on-device recognisers that OCREngine combines. Safe to use from worker threads as
// each interface states; they live as long as this object.
class Recognition {
public:
    virtual ~Recognition() = default;
    virtual TextAnalyzer& textAnalyzer() = 0;
    virtual BarcodeDetector& barcodeDetector() = 0;
    virtual LanguageTagger& languageTagger() = 0;
};
