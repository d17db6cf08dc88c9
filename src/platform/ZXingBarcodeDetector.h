#pragma once

#include "platform/BarcodeDetector.h"

// ZXing-C++ over every format, trying harder, rotated and inverted (it does not read
// light-on-dark codes by itself).
class ZXingBarcodeDetector : public BarcodeDetector {
public:
    QList<Observation> detect(const QImage& image) override;
};
