#include "core/OCREngine.h"

namespace OCREngine {

QCoro::Task<OCRResult> recognize(QImage) {
    co_return OCRResult{};
}

std::optional<QString> dominantLanguage(const QString&) {
    return std::nullopt;
}

} // namespace OCREngine
