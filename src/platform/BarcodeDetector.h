#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// Finds barcodes and QR codes of every supported kind. Called from worker threads.
class BarcodeDetector {
public:
    struct Observation {
        // The payload as text; nothing when the code holds no readable text.
        std::optional<QString> payload;
        // Where the code lies in the image (its bounding box); empty when unknown.
        QRect area;
    };

    virtual ~BarcodeDetector() = default;
    // In the detector's own order. May throw; the caller treats that as "found nothing".
    virtual QList<Observation> detect(const QImage& image) = 0;
};
