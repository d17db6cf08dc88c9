#pragma once

#include <QObject>
#include <QString>

// Every user-visible text comes from here.
class L10n : public QObject {
    Q_OBJECT
public:
    static L10n& shared();

    // The text for `key` in the current language, else English, else the key itself.
    QString string(const QString& key) const;

    // printf-style substitution of the one placeholder a text may hold: "%d" takes an
    // integer, "%@" a string.
    static QString format(const QString& text, qint64 number);
    static QString format(const QString& text, const QString& value);

Q_SIGNALS:
    // Every window listens and relabels itself.
    void languageChanged();

private:
    L10n() = default;
};
