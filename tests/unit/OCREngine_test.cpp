#include "core/DebugLog.h"
#include "core/OCREngine.h"

#include "support/fakes/FakeBarcodeDetector.h"
#include "support/fakes/FakeLanguageTagger.h"
#include "support/fakes/FakeTextAnalyzer.h"

#include <QFile>
#include <QSemaphore>

#include <gtest/gtest.h>

namespace {

class OCREngineTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(DebugLog::currentPath()); }

    OCRResult run(OCREngine::Options options = {}) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::white);
        return QCoro::waitFor(engine.recognize(image, options));
    }

    FakeTextAnalyzer text;
    FakeBarcodeDetector codes;
    FakeLanguageTagger tagger;
    OCREngine engine{text, codes, tagger};
};

} // namespace

TEST_F(OCREngineTest, TextAndCodesRunAtTheSameTimeAndPayloadsAreDeduplicatedInOrder) {
    QSemaphore started;
    text.codesStarted = &started;
    codes.started = &started;
    text.outcome.transcript = "Total 42";
    codes.observations = {
        {QString("b")}, {std::nullopt}, {QString("a")}, {QString("b")}, {QString("a")}};
    const OCRResult result = run();
    EXPECT_TRUE(text.sawCodesRunning) << "the detector must start while text is analysed";
    EXPECT_EQ(result.text, "Total 42");
    EXPECT_EQ(result.barcodePayloads, (QStringList{"b", "a"}));
    EXPECT_FALSE(result.vertical);
}

TEST_F(OCREngineTest, CodesOffNeverTouchesTheDetector) {
    codes.observations = {{QString("https://example.org")}};
    const OCRResult result = run({true, false});
    EXPECT_EQ(codes.calls, 0);
    EXPECT_TRUE(result.barcodePayloads.isEmpty());
    EXPECT_EQ(text.calls, 1);
}

TEST_F(OCREngineTest, CleanupOnlyWhenEnabledAndVerticalJudgedOnTheRawTranscript) {
    text.outcome.transcript = "\n\n縦\n書\nき\n  ";
    const OCRResult raw = run({false, true});
    EXPECT_EQ(raw.text, "\n\n縦\n書\nき\n  ") << "no trimming at all when clean-up is off";
    EXPECT_TRUE(raw.vertical);

    const OCRResult cleaned = run({true, true});
    EXPECT_EQ(cleaned.text, "縦書き");
    EXPECT_TRUE(cleaned.vertical) << "computed before the fragments are merged";
}

TEST_F(OCREngineTest, AnalyserFailureLogsOneLineAndKeepsThePayloads) {
    text.outcome = {false, {}, "model missing"};
    codes.observations = {{QString("WIFI:S:home;;")}};
    OCRResult result = run();
    EXPECT_EQ(result.text, "");
    EXPECT_EQ(result.barcodePayloads, QStringList{"WIFI:S:home;;"});
    QString log = DebugLog::tail();
    EXPECT_EQ(log.count("OCR: ImageAnalyzer failed: "), 1);
    EXPECT_TRUE(log.contains("OCR: ImageAnalyzer failed: model missing\n"));

    // An exception from the analyser is a failure like any other; a throwing detector
    // yields no payloads and nothing in the log.
    QFile::remove(DebugLog::currentPath());
    text.throws = true;
    codes.throws = true;
    result = run();
    EXPECT_EQ(result.text, "");
    EXPECT_TRUE(result.barcodePayloads.isEmpty());
    log = DebugLog::tail();
    EXPECT_EQ(log.count("\n"), 1);
    EXPECT_TRUE(log.contains("OCR: ImageAnalyzer failed: engine exploded"));
}

TEST_F(OCREngineTest, DominantLanguageSkipsTheTaggerForEmptyText) {
    tagger.answer = "ja";
    EXPECT_EQ(engine.dominantLanguage(""), std::nullopt);
    EXPECT_EQ(tagger.calls, 0);
    EXPECT_EQ(engine.dominantLanguage("日本語の文章です"), std::optional<QString>("ja"));
    tagger.answer.reset();
    EXPECT_EQ(engine.dominantLanguage("OK"), std::nullopt);
}
