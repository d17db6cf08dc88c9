#pragma once

#include "support/AppLanguage.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class LanguageStore;

// Every user-visible text comes from here.
class L10n : public QObject {
    Q_OBJECT
public:
    // `preferredLanguages` lists the system's languages, most preferred first (tests give
    // their own); by default the desktop's.
    explicit L10n(LanguageStore& store, std::function<QStringList()> preferredLanguages = {},
                  QObject* parent = nullptr);

    // Reads the stored language and applies it; called once at start, before any window
    // exists.
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

Q_SIGNALS:
    // Every window listens and relabels itself.
    void languageChanged();

private:
    void applyFrameworkOverride(const std::optional<AppLanguage>& language);

    LanguageStore& m_store;
    AppLanguage m_language = AppLanguage::en;
    std::function<QStringList()> m_preferredLanguages;
};
