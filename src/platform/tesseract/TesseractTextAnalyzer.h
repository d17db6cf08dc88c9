#pragma once

#include "platform/TextAnalyzer.h"
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TextLayout.h"

// Tesseract 5 (LSTM) tuned for screen crops: see ScreenTextPreprocessor for the image
// side and TextLayout for the reading order.
class TesseractTextAnalyzer : public TextAnalyzer {
public:
    TesseractTextAnalyzer(TesseractEnginePool& pool, RecognitionLanguages::Choice languages);

    Outcome analyze(const QImage& image) override;
    Outcome analyze(const QImage& image, const std::function<QList<QRect>()>& codeAreas) override;
    void warmUp(int engines) override;
    void warmUpCertain() override;

private:
    struct Reading;
    Reading readHorizontal(const ScreenTextPreprocessor::Prepared& prepared,
                           const QList<QRect>& panels);
    Reading readVertical(const ScreenTextPreprocessor::Prepared& prepared,
                         const QList<QRect>& panels, const QString& model);
    void preferOtherVertical(const ScreenTextPreprocessor::Prepared& prepared,
                             const QList<QRect>& panels, Reading& reading);
    bool readBands(TesseractEnginePool::Lease& engine, const QImage& page, int cut,
                   const QList<QRect>& panels, QList<TextLayout::Line>* lines);

    TesseractEnginePool& m_pool;
    RecognitionLanguages::Choice m_languages;
};
