#include "support/PluralForms.h"

#include <QStringList>

namespace {

enum class Rule : quint8 {
    Single,     // no plural forms: ja, ko, zh
    OneOther,   // 1 | everything else
    ZeroOne,    // 0 and 1 | everything else: fr, pt-BR
    EastSlavic, // 1, 21, 101 | 2-4, 22-24 | 0, 5-20, 25-30 ...: ru
    Polish,     // 1 | 2-4, 22-24 (not 12-14) | everything else, 21 included
};

// Indexed by AppLanguage::Value.
constexpr Rule kRules[AppLanguage::count] = {
    Rule::OneOther,   // en
    Rule::Single,     // ja
    Rule::Single,     // ko
    Rule::Single,     // zh-Hans
    Rule::Single,     // zh-Hant
    Rule::OneOther,   // de
    Rule::ZeroOne,    // fr
    Rule::OneOther,   // es
    Rule::ZeroOne,    // pt-BR
    Rule::EastSlavic, // ru
    Rule::OneOther,   // it
    Rule::OneOther,   // nl
    Rule::Polish,     // pl
    Rule::OneOther,   // tr
};

Rule ruleOf(AppLanguage language) {
    return kRules[language.value()];
}

bool fewEnding(quint64 n) {
    const quint64 last = n % 10, lastTwo = n % 100;
    return last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14);
}

} // namespace

namespace PluralForms {

int count(AppLanguage language) {
    switch (ruleOf(language)) {
    case Rule::Single:
        return 1;
    case Rule::OneOther:
    case Rule::ZeroOne:
        return 2;
    case Rule::EastSlavic:
    case Rule::Polish:
        return 3;
    }
    return 1;
}

int index(AppLanguage language, qint64 n) {
    // Unsigned, so that the lowest qint64 has a magnitude too.
    const quint64 v = n < 0 ? quint64(0) - quint64(n) : quint64(n);
    switch (ruleOf(language)) {
    case Rule::Single:
        return 0;
    case Rule::OneOther:
        return v == 1 ? 0 : 1;
    case Rule::ZeroOne:
        return v <= 1 ? 0 : 1;
    case Rule::EastSlavic:
        if (v % 10 == 1 && v % 100 != 11)
            return 0;
        return fewEnding(v) ? 1 : 2;
    case Rule::Polish:
        if (v == 1)
            return 0;
        return fewEnding(v) ? 1 : 2;
    }
    return 0;
}

QString select(const QString& text, AppLanguage language, qint64 n) {
    if (!text.contains(QLatin1Char('|')))
        return text;
    const QStringList forms = text.split(QLatin1Char('|'));
    return forms.at(qMin(qsizetype(index(language, n)), forms.size() - 1));
}

} // namespace PluralForms
