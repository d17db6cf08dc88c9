#pragma once

#include "support/AppLanguage.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Defaults;

// Every user-visible text comes from here.
class L10n : public QObject {
    Q_OBJECT
public:
    // Created on first use on Defaults::standard().
    static L10n& shared();

    // Reads "languageCode" and applies it; called once at start, before any window exists.
    void bootstrap();

    // Makes `code` the interface language, or the system's language when `code` is absent or
    // names no language (ids are matched exactly: "pt-br" is no language). Keeps
    // "AppleLanguages", the process's default QLocale and Qt's own texts in step, then
    // emits languageChanged().
    void apply(const std::optional<QString>& code);

    AppLanguage language() const { return m_language; }

    // The text for `key` in the current language, else English, else the key itself.
    // "{host}" in a text is replaced by the service's host name.
    QString string(const QString& key) const;
    // The same lookup in a given language.
    static QString string(const QString& key, AppLanguage language);

    // The text for `key` with `count` in place of "%d": the plural form the current language
    // uses for that count, the number written the language's way ("1 280" in French). Every
    // text that shows a count comes through here, so a language switch changes both.
    QString counted(const QString& key, qint64 count) const;
    static QString counted(const QString& key, qint64 count, AppLanguage language);

    // Substitution of the "%@" placeholder a text may hold.
    static QString format(const QString& text, const QString& value);

    // Tests replace the system's preferred-language list; an empty function restores it.
    void setPreferredLanguagesSource(std::function<QStringList()> source);

Q_SIGNALS:
    // Every window listens and relabels itself.
    void languageChanged();

private:
    explicit L10n(Defaults& defaults);
    void applyFrameworkOverride(const std::optional<AppLanguage>& language);

    Defaults& m_defaults;
    AppLanguage m_language = AppLanguage::en;
    std::function<QStringList()> m_preferredLanguages;
};
