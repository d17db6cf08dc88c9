#pragma once

#include "platform/TextAnalyzer.h"
#include "platform/tesseract/RecognitionLanguages.h"

class TesseractEnginePool;

// Tesseract 5 (LSTM) tuned for screen crops: see ScreenTextPreprocessor for the image
// side and TextLayout for the reading order.
class TesseractTextAnalyzer : public TextAnalyzer {
public:
    TesseractTextAnalyzer(TesseractEnginePool& pool, RecognitionLanguages::Choice languages);

    Outcome analyze(const QImage& image) override;
    void warmUp(int engines) override;
    void warmUpCertain() override;

private:
    TesseractEnginePool& m_pool;
    RecognitionLanguages::Choice m_languages;
};
