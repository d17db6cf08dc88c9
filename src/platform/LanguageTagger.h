#pragma once

#include <QString>

#include <optional>

// Names the dominant language of a text ("en", "ja", "zh"), or nothing when unsure.
class LanguageTagger {
public:
    virtual ~LanguageTagger() = default;
    virtual std::optional<QString> dominantLanguage(const QString& text) = 0;
};
