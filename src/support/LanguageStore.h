#pragma once

#include <QString>

#include <optional>

// Where the interface language is kept: the user's choice, and the language list that the
// toolkit and other programs' libraries read when the process starts ("AppleLanguages").
class LanguageStore {
public:
    virtual ~LanguageStore() = default;
    // The stored choice ("de", "pt-BR"); nothing for the system language.
    virtual std::optional<QString> languageCode() const = 0;
    // The language the toolkit should start in from now on, or none to follow the system.
    virtual void setToolkitLanguage(const std::optional<QString>& id) = 0;
};
