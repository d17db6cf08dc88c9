#include "support/AppLanguage.h"

#include <QLocale>

namespace {

struct Info {
    const char* id;
    const char* displayName;
};

// Indexed by AppLanguage::Value.
constexpr Info kInfo[AppLanguage::count] = {
    {"en", "English"},       {"ja", "日本語"},        {"ko", "한국어"},
    {"zh-Hans", "简体中文"}, {"zh-Hant", "繁體中文"}, {"de", "Deutsch"},
    {"fr", "Français"},      {"es", "Español"},       {"pt-BR", "Português (Brasil)"},
    {"ru", "Русский"},       {"it", "Italiano"},      {"nl", "Nederlands"},
    {"pl", "Polski"},        {"tr", "Türkçe"},
};

// Lower case, "-" as the separator, without a POSIX codeset or modifier ("zh_TW.UTF-8@x").
QString normalized(QString entry) {
    qsizetype cut = -1;
    for (qsizetype i = 0; i < entry.size() && cut < 0; ++i) {
        if (entry.at(i) == QLatin1Char('.') || entry.at(i) == QLatin1Char('@'))
            cut = i;
    }
    if (cut >= 0)
        entry.truncate(cut);
    return entry.trimmed().toLower().replace(QLatin1Char('_'), QLatin1Char('-'));
}

std::optional<AppLanguage> match(const QString& entry) {
    using L = AppLanguage;
    if (entry.startsWith(QLatin1String("ja")))
        return L::ja;
    if (entry.startsWith(QLatin1String("ko")))
        return L::ko;
    if (entry.startsWith(QLatin1String("zh"))) {
        if (entry.contains(QLatin1String("hant")) || entry.contains(QLatin1String("tw")) ||
            entry.contains(QLatin1String("hk")))
            return L::zhHant;
        if (entry.contains(QLatin1String("mo")))
            return L::zhHant;
        return L::zhHans;
    }
    static const std::pair<const char*, AppLanguage::Value> prefixes[] = {
        {"de", L::de}, {"fr", L::fr}, {"es", L::es}, {"pt", L::ptBR}, {"ru", L::ru},
        {"it", L::it}, {"nl", L::nl}, {"pl", L::pl}, {"tr", L::tr},   {"en", L::en},
    };
    for (const auto& [prefix, language] : prefixes) {
        if (entry.startsWith(QLatin1String(prefix)))
            return language;
    }
    return std::nullopt;
}

} // namespace

QString AppLanguage::id() const {
    return QString::fromLatin1(kInfo[m_value].id);
}

QString AppLanguage::displayName() const {
    return QString::fromUtf8(kInfo[m_value].displayName);
}

const std::array<AppLanguage, AppLanguage::count>& AppLanguage::allCases() {
    static const std::array<AppLanguage, count> all = {en, ja,   ko, zhHans, zhHant, de, fr,
                                                       es, ptBR, ru, it,     nl,     pl, tr};
    return all;
}

std::optional<AppLanguage> AppLanguage::fromId(const QString& id) {
    for (AppLanguage language : allCases()) {
        if (id == QLatin1String(kInfo[language.value()].id))
            return language;
    }
    return std::nullopt;
}

QStringList AppLanguage::systemPreferredLanguages() {
    // The system locale, not the process default: the default follows our own choice.
    return QLocale::system().uiLanguages();
}

AppLanguage AppLanguage::systemDefault() {
    return fromPreferredLanguages(systemPreferredLanguages());
}

AppLanguage AppLanguage::fromPreferredLanguages(const QStringList& preferred) {
    for (const QString& entry : preferred) {
        if (const std::optional<AppLanguage> language = match(normalized(entry)))
            return *language;
    }
    return en;
}
