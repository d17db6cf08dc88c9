#pragma once

#include "core/OCRResult.h"

#include <QCoro/QCoroTask>
#include <QImage>
#include <QString>

#include <optional>

// On-device recognition of one captured image: text and codes.
namespace OCREngine {
// Never fails: every failure ends as empty text or no payloads.
QCoro::Task<OCRResult> recognize(QImage image);
// The dominant language of `text` ("ja", "en"), or nothing.
std::optional<QString> dominantLanguage(const QString& text);
} // namespace OCREngine
