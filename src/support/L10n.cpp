#include "support/L10n.h"

L10n& L10n::shared() {
    static L10n* instance = new L10n();
    return *instance;
}

QString L10n::string(const QString& key) const {
    return key;
}

QString L10n::format(const QString& text, qint64 number) {
    QString out = text;
    return out.replace(QStringLiteral("%d"), QString::number(number));
}

QString L10n::format(const QString& text, const QString& value) {
    QString out = text;
    return out.replace(QStringLiteral("%@"), value);
}
