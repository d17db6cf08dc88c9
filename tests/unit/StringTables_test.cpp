// The string tables checked as a reviewer would: the English key set and placeholders in every
// language, plural forms the language can use, and typography that is the language's own.
#include "support/AppLanguage.h"
#include "support/LocalizationTables.h"
#include "support/PluralForms.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using Table = LocalizationTables::Table;

const QChar kNoBreak(0x00A0);
const QChar kNarrowNoBreak(0x202F);

QStringList placeholders(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("%[d@]|\\{host\\}"));
    QStringList found;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    return found;
}

bool isCjk(AppLanguage language) {
    return language == AppLanguage::ja || language == AppLanguage::ko ||
           language == AppLanguage::zhHans || language == AppLanguage::zhHant;
}

// Words a Mac says and these desktops do not, per language.
QStringList macOnlyWords(AppLanguage language) {
    switch (language) {
    case AppLanguage::de:
        return {"Bedienungshilfen"};
    case AppLanguage::fr:
        return {"Réglages", "réglages"};
    case AppLanguage::es:
        return {"Ajustes", "ajustes"};
    case AppLanguage::ja:
        return {"画面収録"};
    case AppLanguage::ko:
        return {"손쉬운 사용"};
    case AppLanguage::ru:
        return {"Универсальный доступ"};
    case AppLanguage::zhHant:
        return {"拷貝", "輔助使用", "App"};
    case AppLanguage::pl:
        return {"uaktualn"};
    case AppLanguage::tr:
        return {"Denetle", "denetle", "eşzaman"};
    default:
        return {};
    }
}

// French wants a (narrow) no-break space before ? ; : ! and inside « ».
QStringList frenchPunctuationFaults(const QString& text) {
    QStringList faults;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar before = i > 0 ? text.at(i - 1) : QChar();
        const QChar after = i + 1 < text.size() ? text.at(i + 1) : QChar();
        const bool spacedBefore = before == kNoBreak || before == kNarrowNoBreak;
        if (QStringLiteral("?;:!").contains(c) && !spacedBefore)
            faults.append(QStringLiteral("no no-break space before \"%1\"").arg(c));
        if (c == QChar(0x00AB) && after != kNarrowNoBreak)
            faults.append(QStringLiteral("no narrow no-break space after «"));
        if (c == QChar(0x00BB) && before != kNarrowNoBreak)
            faults.append(QStringLiteral("no narrow no-break space before »"));
    }
    return faults;
}

// Everything wrong with one text of `language` next to its English text.
QStringList textFaults(AppLanguage language, const QString& text, const QString& english) {
    QStringList faults;
    if (text.trimmed().isEmpty())
        faults.append("empty");
    const QStringList forms = text.split(QLatin1Char('|'));
    const QString englishForm = english.section(QLatin1Char('|'), 0, 0);
    if (forms.size() > 1 && !english.contains(QLatin1String("%d")))
        faults.append("plural forms in a text that shows no count");
    if (forms.size() != 1 && forms.size() != PluralForms::count(language))
        faults.append(QStringLiteral("%1 plural forms, the language has %2")
                          .arg(forms.size())
                          .arg(PluralForms::count(language)));
    for (const QString& form : forms) {
        if (placeholders(form) != placeholders(englishForm))
            faults.append("placeholders " + placeholders(form).join(',') + " instead of " +
                          placeholders(englishForm).join(','));
    }
    if (text.contains(QLatin1String("Mac")) || text.contains(QLatin1String("~/Library")))
        faults.append("Mac wording");
    for (const QString& word : macOnlyWords(language)) {
        if (text.contains(word))
            faults.append("Mac-only word " + word);
    }
    if (isCjk(language) &&
        (text.contains(QString::fromUtf8(" — ")) || text.contains(QString::fromUtf8(" – "))))
        faults.append("English dash between clauses");
    static const QRegularExpression asciiPercent(QStringLiteral("\\d %"));
    if (text.contains(asciiPercent))
        faults.append("breakable space before %");
    if (language == AppLanguage::fr) {
        static const QRegularExpression tightPercent(QStringLiteral("\\d%"));
        if (text.contains(tightPercent))
            faults.append("no space before %");
        faults.append(frenchPunctuationFaults(text));
    }
    return faults;
}

// Every fault of `table`, one line each, naming the key.
QStringList tableFaults(AppLanguage language, const Table& table) {
    const Table& english = LocalizationTables::en();
    QStringList faults;
    for (auto it = english.cbegin(); it != english.cend(); ++it) {
        if (!table.contains(it.key())) {
            faults.append(it.key() + ": missing");
            continue;
        }
        for (const QString& fault : textFaults(language, table.value(it.key()), it.value()))
            faults.append(it.key() + ": " + fault);
    }
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        if (!english.contains(it.key()))
            faults.append(it.key() + ": not in English");
    }
    faults.sort();
    return faults;
}

bool anyContains(const QStringList& faults, const QString& part) {
    return std::any_of(faults.cbegin(), faults.cend(),
                       [&](const QString& fault) { return fault.contains(part); });
}

} // namespace

TEST(StringTables, EveryTableHasTheEnglishKeysPlaceholdersAndItsOwnTypography) {
    ASSERT_EQ(LocalizationTables::en().size(), 144);
    ASSERT_EQ(LocalizationTables::tables().size(), AppLanguage::count);
    for (AppLanguage language : AppLanguage::allCases()) {
        const QStringList faults = tableFaults(language, LocalizationTables::table(language));
        EXPECT_TRUE(faults.isEmpty())
            << language.id().toStdString() << ":\n  " << faults.join("\n  ").toStdString();
    }
}

TEST(StringTables, TheCheckFindsEachKindOfFault) {
    using L = AppLanguage;
    auto faultsAfter = [](AppLanguage language, auto change) {
        Table table = LocalizationTables::table(language);
        change(table);
        return tableFaults(language, table);
    };
    const QString nnbsp(kNarrowNoBreak);

    EXPECT_TRUE(anyContains(faultsAfter(L::de, [](Table& t) { t.remove("menu.quit"); }),
                            "menu.quit: missing"));
    EXPECT_TRUE(anyContains(faultsAfter(L::de, [](Table& t) { t.insert("menu.extra", "x"); }),
                            "menu.extra: not in English"));
    EXPECT_TRUE(anyContains(faultsAfter(L::de, [](Table& t) { t["about.version"] = "Version %d"; }),
                            "placeholders"));
    EXPECT_TRUE(anyContains(
        faultsAfter(L::tr, [](Table& t) { t["toast.hqSignIn"] = "Giriş yapın"; }), "placeholders"));
    // A plural form that lost its number, and a form count the language does not have.
    EXPECT_TRUE(anyContains(faultsAfter(L::ru,
                                        [](Table& t) {
                                            t["toast.ocrDone"] =
                                                QString::fromUtf8("Один символ|%d символа|%d "
                                                                  "символов");
                                        }),
                            "placeholders"));
    EXPECT_TRUE(anyContains(faultsAfter(L::ru, [](Table& t) { t["toast.ocrDone"] = "%d a|%d b"; }),
                            "2 plural forms, the language has 3"));
    EXPECT_TRUE(anyContains(
        faultsAfter(L::fr, [](Table& t) { t["menu.quit"] = "Quitter|Quitter"; }), "no count"));
    EXPECT_TRUE(anyContains(
        faultsAfter(L::ja, [](Table& t) { t["onb.waiting"] = QString::fromUtf8("待機中 — 自動"); }),
        "English dash"));
    EXPECT_TRUE(anyContains(
        faultsAfter(L::zhHant, [](Table& t) { t["toast.copied"] = QString::fromUtf8("已拷貝"); }),
        "Mac-only word"));
    EXPECT_TRUE(anyContains(
        faultsAfter(L::it, [](Table& t) { t["sub.privacy"] = "Ciò che non lascia mai il Mac"; }),
        "Mac wording"));
    EXPECT_TRUE(anyContains(
        faultsAfter(L::de, [](Table& t) { t["priv.local"] = QString::fromUtf8("Zu 100 % lokal"); }),
        "breakable space before %"));
    EXPECT_TRUE(anyContains(faultsAfter(L::fr,
                                        [](Table& t) {
                                            t["clear.title"] =
                                                QString::fromUtf8("Effacer l’historique ?");
                                        }),
                            "before \"?\""));
    EXPECT_TRUE(anyContains(
        faultsAfter(L::fr, [](Table& t) { t["onb.tutBody"] = QString::fromUtf8("Étapes:"); }),
        "before \":\""));
    EXPECT_TRUE(anyContains(faultsAfter(L::fr,
                                        [&](Table& t) {
                                            t["rec.hudSub"] =
                                                QString::fromUtf8("Une note « Copié") + nnbsp +
                                                QString::fromUtf8("»");
                                        }),
                            "after «"));
    EXPECT_TRUE(anyContains(
        faultsAfter(L::fr, [](Table& t) { t["priv.local"] = QString::fromUtf8("100% local"); }),
        "no space before %"));
}

TEST(StringTables, FrenchSpacesAreTheNarrowAndTheFullNoBreakKinds) {
    const Table& fr = LocalizationTables::fr();
    const QString nnbsp(kNarrowNoBreak), nbsp(kNoBreak);
    EXPECT_EQ(fr.value("clear.title"), QString::fromUtf8("Effacer l’historique") + nnbsp + "?");
    EXPECT_EQ(fr.value("rec.hudSub"), QString::fromUtf8("Une petite note «") + nnbsp +
                                          QString::fromUtf8("Copié") + nnbsp +
                                          QString::fromUtf8("» après chaque capture"));
    EXPECT_TRUE(fr.value("onb.tutBody").endsWith(nbsp + ":"));
    EXPECT_TRUE(fr.value("priv.local").contains("100" + nnbsp + "%"));
}
