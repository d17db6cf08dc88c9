#pragma once

#include "platform/LanguageTagger.h"

// Compact Language Detector 2. Its answer counts only when it calls it reliable.
class Cld2LanguageTagger : public LanguageTagger {
public:
    std::optional<QString> dominantLanguage(const QString& text) override;
};
