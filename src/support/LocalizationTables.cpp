#include "support/LocalizationTables.h"

#include <QtGlobal>

namespace LocalizationTables {

Table build(std::span<const Entry> entries, const char* name) {
    Table table;
    table.reserve(qsizetype(entries.size()));
    for (const Entry& entry : entries) {
        const QString key = QString::fromLatin1(entry.key);
        if (table.contains(key))
            qFatal("LocalizationTables: key %s appears twice in the %s table", entry.key, name);
        table.insert(key, QString::fromUtf8(entry.text));
    }
    return table;
}

#define GLINTEXT_TABLE(lang)                                                                       \
    const Table& lang() {                                                                          \
        static const Table table = build(Source::lang(), #lang);                                   \
        return table;                                                                              \
    }

GLINTEXT_TABLE(en)
GLINTEXT_TABLE(ja)
GLINTEXT_TABLE(ko)
GLINTEXT_TABLE(zhHans)
GLINTEXT_TABLE(zhHant)
GLINTEXT_TABLE(de)
GLINTEXT_TABLE(fr)
GLINTEXT_TABLE(es)
GLINTEXT_TABLE(ptBR)
GLINTEXT_TABLE(ru)
GLINTEXT_TABLE(it)
GLINTEXT_TABLE(nl)
GLINTEXT_TABLE(pl)
GLINTEXT_TABLE(tr)

#undef GLINTEXT_TABLE

const QHash<AppLanguage, Table>& tables() {
    static const QHash<AppLanguage, Table> all = [] {
        QHash<AppLanguage, Table> out;
        out.insert(AppLanguage::en, en());
        out.insert(AppLanguage::ja, ja());
        out.insert(AppLanguage::ko, ko());
        out.insert(AppLanguage::zhHans, zhHans());
        out.insert(AppLanguage::zhHant, zhHant());
        out.insert(AppLanguage::de, de());
        out.insert(AppLanguage::fr, fr());
        out.insert(AppLanguage::es, es());
        out.insert(AppLanguage::ptBR, ptBR());
        out.insert(AppLanguage::ru, ru());
        out.insert(AppLanguage::it, it());
        out.insert(AppLanguage::nl, nl());
        out.insert(AppLanguage::pl, pl());
        out.insert(AppLanguage::tr, tr());
        return out;
    }();
    return all;
}

const Table& table(AppLanguage language) {
    static const Table empty;
    const auto& all = tables();
    const auto found = all.constFind(language);
    return found == all.cend() ? empty : *found;
}

} // namespace LocalizationTables
