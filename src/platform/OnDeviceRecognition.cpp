#include "platform/OnDeviceRecognition.h"

#include "platform/cld2/Cld2LanguageTagger.h"
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "platform/zxing/ZXingBarcodeDetector.h"

OnDeviceRecognition::OnDeviceRecognition()
    : m_pool(std::make_unique<TesseractEnginePool>(RecognitionLanguages::tessdataDirectory())),
      m_text(std::make_unique<TesseractTextAnalyzer>(*m_pool, RecognitionLanguages::forThisUser())),
      m_codes(std::make_unique<ZXingBarcodeDetector>()),
      m_tagger(std::make_unique<Cld2LanguageTagger>()) {}

OnDeviceRecognition::~OnDeviceRecognition() = default;

TextAnalyzer& OnDeviceRecognition::textAnalyzer() {
    return *m_text;
}

BarcodeDetector& OnDeviceRecognition::barcodeDetector() {
    return *m_codes;
}

LanguageTagger& OnDeviceRecognition::languageTagger() {
    return *m_tagger;
}
