#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// One of the 14 interface languages. Its id is the language code ("de", "zh-Hans", "pt-BR")
// that is stored under "languageCode"; the order of allCases() is the language picker's order.
class AppLanguage {
public:
    enum Value : quint8 { en, ja, ko, zhHans, zhHant, de, fr, es, ptBR, ru, it, nl, pl, tr };
    static constexpr int count = 14;

    constexpr AppLanguage(Value value = en) : m_value(value) {}

    constexpr Value value() const { return m_value; }
    constexpr operator Value() const { return m_value; }

    QString id() const;
    QString rawValue() const { return id(); }
    // The language's own name, the same in every interface language.
    QString displayName() const;

    static const std::array<AppLanguage, count>& allCases();
    // Exact, case-sensitive match against the 14 ids; anything else is no language.
    static std::optional<AppLanguage> fromId(const QString& id);

    // The language that follows from the system's preferred languages.
    static AppLanguage systemDefault();
    // The system's preferred languages, most preferred first (built by Qt from LANGUAGE,
    // LC_ALL, LC_MESSAGES and LANG).
    static QStringList systemPreferredLanguages();
    // The first entry of `preferred` that names one of our languages decides; en otherwise.
    // Entries may be written "zh_TW", "zh-TW" or "zh_TW.UTF-8".
    static AppLanguage fromPreferredLanguages(const QStringList& preferred);

private:
    Value m_value;
};

inline size_t qHash(AppLanguage language, size_t seed = 0) noexcept {
    return qHash(int(language.value()), seed);
}
