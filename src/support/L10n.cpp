#include "support/L10n.h"

#include "core/CloudConfig.h"
#include "support/FrameworkLanguage.h"
#include "support/LanguageStore.h"
#include "support/LocalizationTables.h"
#include "support/PluralForms.h"

#include <QLocale>

namespace {

const QString kHostToken = QStringLiteral("{host}");

QString withHost(QString text) {
    if (text.contains(kHostToken))
        text.replace(kHostToken, CloudConfig::baseURL().host());
    return text;
}

} // namespace

L10n::L10n(LanguageStore& store, std::function<QStringList()> preferredLanguages, QObject* parent)
    : QObject(parent), m_store(store), m_preferredLanguages(std::move(preferredLanguages)) {}

void L10n::bootstrap() {
    const std::optional<QString> stored = m_store.languageCode();
    if (stored && !stored->isEmpty())
        apply(stored);
    else
        apply(std::nullopt);
}

void L10n::apply(const std::optional<QString>& code) {
    const std::optional<AppLanguage> chosen = code ? AppLanguage::fromId(*code) : std::nullopt;
    applyFrameworkOverride(chosen);
    if (chosen) {
        m_language = *chosen;
    } else {
        const QStringList preferred =
            m_preferredLanguages ? m_preferredLanguages() : AppLanguage::systemPreferredLanguages();
        m_language = AppLanguage::fromPreferredLanguages(preferred);
    }
    Q_EMIT languageChanged();
}

void L10n::applyFrameworkOverride(const std::optional<AppLanguage>& language) {
    if (language) {
        m_store.setToolkitLanguage(language->id());
        // Number and date formatting follow the chosen language too.
        QLocale::setDefault(QLocale(language->id()));
        FrameworkLanguage::setCode(language->id());
    } else {
        m_store.setToolkitLanguage(std::nullopt);
        QLocale::setDefault(QLocale::system());
        FrameworkLanguage::setCode(std::nullopt);
    }
    FrameworkLanguage::ensureInstalled();
}

QString L10n::string(const QString& key) const {
    return string(key, m_language);
}

QString L10n::string(const QString& key, AppLanguage language) {
    const LocalizationTables::Table& current = LocalizationTables::table(language);
    auto found = current.constFind(key);
    if (found != current.cend())
        return withHost(*found);
    const LocalizationTables::Table& english = LocalizationTables::en();
    found = english.constFind(key);
    if (found != english.cend())
        return withHost(*found);
    return key;
}

QString L10n::counted(const QString& key, qint64 count) const {
    return counted(key, count, m_language);
}

QString L10n::counted(const QString& key, qint64 count, AppLanguage language) {
    QString text = PluralForms::select(string(key, language), language, count);
    return text.replace(QStringLiteral("%d"), QLocale(language.id()).toString(count));
}

QString L10n::format(const QString& text, const QString& value) {
    QString out = text;
    return out.replace(QStringLiteral("%@"), value);
}
