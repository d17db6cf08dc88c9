#pragma once

#include "platform/BarcodeDetector.h"

// ZXing-C++ over every format, trying harder, rotated and inverted (it does not read
// light-on-dark codes by itself).
class ZXingBarcodeDetector : public BarcodeDetector {
public:
    QList<Observation> detect(const QImage& image) override;
    // Whether a Format_Grayscale8 image has an area dark enough to hold a light-on-dark
    // code (the inverted reading is skipped otherwise).
    static bool hasDarkArea(const QImage& grey);
};
