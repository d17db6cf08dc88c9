// Warm recognition timings and the idle memory of the warm engines, in one process:
//
//   glintext-warm-bench IMAGE...
//
// Prints the resident memory before and after the engines are warmed, then the median
// time of OCREngine::recognize over several rounds of the images (the first round is
// not counted).

#include "core/OCREngine.h"
#include "platform/BarcodeDetector.h"
#include "platform/LanguageTagger.h"
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "platform/zxing/ZXingBarcodeDetector.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

long residentKiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<QImage> images;
    for (int i = 1; i < argc; ++i)
        images.emplace_back(QString::fromLocal8Bit(argv[i]));
    const long before = residentKiB();
    const QString languages = RecognitionLanguages::forThisUser().horizontal;
    TesseractEnginePool pool(RecognitionLanguages::tessdataDirectory());
    TesseractTextAnalyzer analyzer(pool, RecognitionLanguages::forThisUser());
    ZXingBarcodeDetector detector;
    // The language is not part of the timings.
    struct NoTagger : LanguageTagger {
        std::optional<QString> dominantLanguage(const QString&) override { return {}; }
    } tagger;
    const OCREngine engine(analyzer, detector, tagger);
    pool.prewarm(languages, 2);
    const long after = residentKiB();
    std::printf("idle memory of two warm engines (%s): %.1f MiB\n", qPrintable(languages),
                (after - before) / 1024.0);

    std::vector<double> prep;
    for (const QImage& image : images) {
        QElapsedTimer t;
        t.start();
        const auto prepared = ScreenTextPreprocessor::prepare(image);
        prep.push_back(double(t.nsecsElapsed()) / 1e6);
        if (qEnvironmentVariableIsSet("WARM_BENCH_VERBOSE"))
            std::printf("  %dx%d -> %dx%d scale %.2f glyph %.1f\n", image.width(), image.height(),
                        prepared.image.width(), prepared.image.height(), prepared.scale,
                        prepared.metrics.glyphHeight);
    }
    std::printf("preprocessing alone: median %.0f ms\n", median(prep));

    std::vector<double> times;
    std::vector<double> cpu;
    for (int round = 0; round < 4; ++round) {
        for (const QImage& image : images) {
            QElapsedTimer t;
            t.start();
            const double c = cpuMs();
            (void)QCoro::waitFor(engine.recognize(image, {}));
            if (round > 0) {
                times.push_back(double(t.nsecsElapsed()) / 1e6);
                cpu.push_back(cpuMs() - c);
            }
        }
    }
    std::vector<double> textCpu;
    for (int round = 0; round < 2; ++round) {
        for (const QImage& image : images) {
            const double c = threadCpuMs();
            (void)analyzer.analyze(image);
            textCpu.push_back(threadCpuMs() - c);
        }
    }
    std::printf("text analysis alone: median %.0f ms CPU on the calling thread\n", median(textCpu));
    std::vector<double> codesCpu;
    for (const QImage& image : images) {
        const double c = threadCpuMs();
        (void)detector.detect(image);
        codesCpu.push_back(threadCpuMs() - c);
    }
    std::printf("code detection alone: median %.0f ms CPU\n", median(codesCpu));
    if (!times.empty()) {
        std::printf("warm recognition, 1200x400 crop of five lines: median %.0f ms wall, "
                    "%.0f ms CPU (text and codes together) over %d runs\n",
                    median(times), median(cpu), int(times.size()));
    }
    return 0;
}
