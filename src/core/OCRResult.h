#pragma once

#include <QString>
#include <QStringList>

// What one on-device recognition found.
struct OCRResult {
    QString text;                // recognised text, cleaned when clean-up is on
    QStringList barcodePayloads; // decoded payloads, duplicate-free, in detector order
    bool vertical = false;       // the raw transcript looked like vertical CJK text
    QStringList models;          // the recognition models that read the text, in order
};
