#include "core/AppSettings.h"
#include "core/DebugLog.h"
#include "core/OCREngine.h"
#include "platform/BarcodeDetector.h"
#include "platform/LanguageTagger.h"
#include "platform/TextAnalyzer.h"

#include <QFile>
#include <QSemaphore>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

class FakeText : public TextAnalyzer {
public:
    Outcome outcome{true, {}, {}};
    bool throws = false;
    std::atomic<int> calls{0};
    // When set, analysis waits (bounded) until the detector has started.
    QSemaphore* codesStarted = nullptr;
    std::atomic<bool> sawCodesRunning{false};

    Outcome analyze(const QImage&) override {
        ++calls;
        if (codesStarted)
            sawCodesRunning = codesStarted->tryAcquire(1, 5000);
        if (throws)
            throw std::runtime_error("engine exploded");
        return outcome;
    }
};

class FakeCodes : public BarcodeDetector {
public:
    QList<Observation> observations;
    bool throws = false;
    std::atomic<int> calls{0};
    QSemaphore* started = nullptr;

    QList<Observation> detect(const QImage&) override {
        ++calls;
        if (started)
            started->release();
        if (throws)
            throw std::runtime_error("detector failed");
        return observations;
    }
};

class FakeTagger : public LanguageTagger {
public:
    std::optional<QString> answer;
    int calls = 0;
    std::optional<QString> dominantLanguage(const QString&) override {
        ++calls;
        return answer;
    }
};

class OCREngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        OCREngine::setServices({&text, &codes, &tagger});
        QFile::remove(DebugLog::currentPath());
    }
    void TearDown() override { OCREngine::setServices({}); }

    OCRResult run(OCREngine::Options options = {}) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::white);
        return QCoro::waitFor(OCREngine::recognize(image, options));
    }

    FakeText text;
    FakeCodes codes;
    FakeTagger tagger;
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

TEST_F(OCREngineTest, SettingsAreReadAtTheStartOfEachCall) {
    AppSettings& settings = AppSettings::shared();
    codes.observations = {{QString("code")}};
    text.outcome.transcript = "  padded  ";
    settings.setDetectQR(false);
    settings.setCleanupEnabled(false);
    QImage image(4, 4, QImage::Format_RGB32);
    OCRResult result = QCoro::waitFor(OCREngine::recognize(image));
    EXPECT_TRUE(result.barcodePayloads.isEmpty());
    EXPECT_EQ(result.text, "  padded  ");

    settings.setDetectQR(true);
    settings.setCleanupEnabled(true);
    result = QCoro::waitFor(OCREngine::recognize(image));
    EXPECT_EQ(result.barcodePayloads, QStringList{"code"});
    EXPECT_EQ(result.text, "padded");
}

TEST_F(OCREngineTest, DominantLanguageSkipsTheTaggerForEmptyText) {
    tagger.answer = "ja";
    EXPECT_EQ(OCREngine::dominantLanguage(""), std::nullopt);
    EXPECT_EQ(tagger.calls, 0);
    EXPECT_EQ(OCREngine::dominantLanguage("日本語の文章です"), std::optional<QString>("ja"));
    tagger.answer.reset();
    EXPECT_EQ(OCREngine::dominantLanguage("OK"), std::nullopt);
}
