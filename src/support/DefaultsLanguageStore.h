#pragma once

#include "support/LanguageStore.h"

class Defaults;

// The language choice in the defaults domain: "languageCode", mirrored into "AppleLanguages".
class DefaultsLanguageStore : public LanguageStore {
public:
    explicit DefaultsLanguageStore(Defaults& defaults);

    std::optional<QString> languageCode() const override;
    void setToolkitLanguage(const std::optional<QString>& id) override;

private:
    Defaults& m_defaults;
};
