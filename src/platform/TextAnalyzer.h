#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

// Reads all text of an image. Implementations are called from worker threads and must be
// safe to call from several at once.
class TextAnalyzer {
public:
    struct Outcome {
        bool ok = false;
        QString transcript; // reading order, lines separated by line feeds
        QString error;      // human-readable, when !ok
        QStringList models; // the recognition models that read the text ("eng", "kor")
    };

    virtual ~TextAnalyzer() = default;
    virtual Outcome analyze(const QImage& image) = 0;
    // The same, leaving out the areas `codeAreas` returns (decoded QR codes and barcodes:
    // their modules are not text). It is called once the image is prepared, and may
    // block until the codes are known.
    virtual Outcome analyze(const QImage& image, const std::function<QList<QRect>()>& codeAreas) {
        (void)codeAreas;
        return analyze(image);
    }
    // Prepares whatever the first analysis would otherwise pay for (models, engines);
    // `engines` > 1 lets one analysis use several cores. May block; callers run it off
    // the GUI thread.
    virtual void warmUp(int engines) { (void)engines; }
    // Loads only what every analysis needs whatever the image (nothing when the model
    // depends on the image), one engine: a single cold analysis overlaps it with its
    // other start-up work and wastes nothing.
    virtual void warmUpCertain() {}
};
