// Counted texts: the plural form each language uses, and the lookup that fills in the count.
#include "core/Defaults.h"
#include "support/AppLanguage.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "support/PluralForms.h"

#include "support/TestEnvironment.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QString counted(const char* key, qint64 n, AppLanguage language) {
    return L10n::counted(QString::fromLatin1(key), n, language);
}

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

TEST(PluralForms, CategoriesPerLanguage) {
    using L = AppLanguage;
    struct Row {
        AppLanguage language;
        qint64 n;
        int form;
    };
    const Row rows[] = {
        // English and the like: only 1 is singular.
        {L::en, 0, 1},
        {L::en, 1, 0},
        {L::en, 2, 1},
        {L::en, 21, 1},
        {L::de, 1, 0},
        {L::tr, 1, 0},
        {L::nl, 5, 1},
        // French and Brazilian Portuguese: 0 is singular too.
        {L::fr, 0, 0},
        {L::fr, 1, 0},
        {L::fr, 2, 1},
        {L::fr, 5, 1},
        {L::fr, 21, 1},
        {L::ptBR, 0, 0},
        {L::ptBR, 1, 0},
        {L::ptBR, 2, 1},
        // Russian: one for 1, 21, 101 but not 11; few for 2-4, 22-24 but not 12-14.
        {L::ru, 0, 2},
        {L::ru, 1, 0},
        {L::ru, 2, 1},
        {L::ru, 5, 2},
        {L::ru, 21, 0},
        {L::ru, 11, 2},
        {L::ru, 12, 2},
        {L::ru, 14, 2},
        {L::ru, 22, 1},
        {L::ru, 101, 0},
        {L::ru, 111, 2},
        {L::ru, 1004, 1},
        // Polish: one for 1 alone; 21 is many.
        {L::pl, 0, 2},
        {L::pl, 1, 0},
        {L::pl, 2, 1},
        {L::pl, 5, 2},
        {L::pl, 21, 2},
        {L::pl, 12, 2},
        {L::pl, 22, 1},
        {L::pl, 101, 2},
        {L::pl, 104, 1},
        // No plural forms.
        {L::ja, 1, 0},
        {L::ko, 5, 0},
        {L::zhHans, 21, 0},
        {L::zhHant, 0, 0},
        // Signs do not matter, not even for the lowest value.
        {L::ru, -21, 0},
        {L::en, -1, 0},
        {L::pl, std::numeric_limits<qint64>::min(), 2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PluralForms::index(row.language, row.n), row.form)
            << row.language.id().toStdString() << " " << row.n;
        EXPECT_LT(PluralForms::index(row.language, row.n), PluralForms::count(row.language));
    }
}

TEST(PluralForms, SelectKeepsPlainTextsAndFallsBackToTheLastForm) {
    EXPECT_EQ(PluralForms::select("%d Zeichen", AppLanguage::de, 1), "%d Zeichen");
    EXPECT_EQ(PluralForms::select("a|b|c", AppLanguage::ru, 5), "c");
    // A table that gives two forms to a three-form language still shows one of them.
    EXPECT_EQ(PluralForms::select("a|b", AppLanguage::pl, 5), "b");
    EXPECT_EQ(PluralForms::select("a|b", AppLanguage::ja, 5), "a");
}

TEST(L10nCounted, RussianPolishAndFrenchCounts) {
    using L = AppLanguage;
    struct Row {
        AppLanguage language;
        const char* key;
        qint64 n;
        const char* text;
    };
    const Row rows[] = {
        {L::ru, "toast.ocrDone", 0, "Скопировано 0 символов"},
        {L::ru, "toast.ocrDone", 1, "Скопирован 1 символ"},
        {L::ru, "toast.ocrDone", 2, "Скопировано 2 символа"},
        {L::ru, "toast.ocrDone", 5, "Скопировано 5 символов"},
        {L::ru, "toast.ocrDone", 21, "Скопирован 21 символ"},
        {L::ru, "hist.clearNowSub", 1, "Сохранена 1 запись"},
        {L::ru, "hist.clearNowSub", 21, "Сохранена 21 запись"},
        {L::ru, "hist.clearNowSub", 3, "Сохранено 3 записи"},
        {L::ru, "hist.limitFmt", 25, "25 записей"},
        {L::pl, "toast.ocrDone", 0, "Skopiowano 0 znaków"},
        {L::pl, "toast.ocrDone", 1, "Skopiowano 1 znak"},
        {L::pl, "toast.ocrDone", 2, "Skopiowano 2 znaki"},
        {L::pl, "toast.ocrDone", 5, "Skopiowano 5 znaków"},
        {L::pl, "toast.ocrDone", 21, "Skopiowano 21 znaków"},
        {L::pl, "hist.limitFmt", 300, "300 wpisów"},
        {L::fr, "toast.ocrDone", 0, "0 caractère copié"},
        {L::fr, "toast.ocrDone", 1, "1 caractère copié"},
        {L::fr, "toast.ocrDone", 2, "2 caractères copiés"},
        {L::fr, "toast.ocrDone", 5, "5 caractères copiés"},
        {L::fr, "toast.ocrDone", 21, "21 caractères copiés"},
        {L::fr, "hist.clearNowSub", 0, "0 texte dans l’historique"},
        {L::en, "toast.ocrDone", 0, "Copied 0 characters"},
        {L::en, "toast.ocrDone", 1, "Copied 1 character"},
        {L::en, "toast.ocrDone", 12, "Copied 12 characters"},
        {L::en, "hist.limitFmt", 1, "1 item"},
        {L::de, "toast.ocrDone", 1, "1 Zeichen kopiert"},
        {L::de, "hist.clearNowSub", 1, "1 Eintrag gespeichert"},
        {L::ptBR, "toast.ocrDone", 1, "1 caractere copiado"},
        {L::ptBR, "toast.ocrDone", 0, "0 caractere copiado"},
        {L::es, "toast.ocrDone", 1, "1 carácter copiado"},
        {L::it, "toast.ocrDone", 1, "1 carattere copiato"},
        {L::nl, "toast.ocrDone", 1, "1 teken gekopieerd"},
        {L::ja, "toast.ocrDone", 1, "1 文字をコピーしました"},
        {L::tr, "toast.ocrDone", 21, "21 karakter kopyalandı"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(counted(row.key, row.n, row.language), u8(row.text))
            << row.language.id().toStdString() << " " << row.key << " " << row.n;
    }
    // Every counted text of every language comes out as one form with the number in it.
    for (AppLanguage language : AppLanguage::allCases()) {
        for (const char* key :
             {"toast.ocrDone", "toast.hqUpdated", "hist.limitFmt", "hist.clearNowSub"}) {
            for (qint64 n : {0, 1, 2, 5, 21}) {
                const QString text = counted(key, n, language);
                EXPECT_FALSE(text.contains('|') || text.contains("%d")) << text.toStdString();
                EXPECT_TRUE(text.contains(QString::number(n))) << text.toStdString();
            }
        }
    }
}

TEST(L10nCounted, LargeCountsAreGroupedTheLanguagesWay) {
    EXPECT_EQ(counted("toast.ocrDone", 1280, AppLanguage::en), "Copied 1,280 characters");
    EXPECT_EQ(counted("toast.ocrDone", 1280, AppLanguage::de), "1.280 Zeichen kopiert");
    // French groups with a no-break space, so the number never breaks over two lines.
    EXPECT_EQ(counted("toast.ocrDone", 12800, AppLanguage::fr),
              "12" + QString(QChar(0x202F)) + u8("800 caractères copiés"));
    // Polish leaves four digits alone.
    EXPECT_EQ(counted("toast.ocrDone", 1280, AppLanguage::pl), u8("Skopiowano 1280 znaków"));
}

TEST(L10nCounted, ALanguageSwitchRelabelsCountsAtOnce) {
    Defaults defaults(TestEnvironment::home() + "/counted-defaults.json");
    DefaultsLanguageStore store(defaults);
    L10n l10n(store);
    l10n.apply(QStringLiteral("en"));
    // What a window does when the language changes: read its counted labels again.
    QStringList labels;
    QObject::connect(&l10n, &L10n::languageChanged, &l10n,
                     [&] { labels.append(l10n.counted("hist.clearNowSub", 21)); });
    EXPECT_EQ(l10n.counted("hist.clearNowSub", 21), "21 captures stored");
    l10n.apply(QStringLiteral("ru"));
    l10n.apply(QStringLiteral("pl"));
    l10n.apply(QStringLiteral("fr"));
    l10n.apply(QStringLiteral("en"));
    QObject::disconnect(&l10n, &L10n::languageChanged, &l10n, nullptr);
    EXPECT_EQ(labels, QStringList({u8("Сохранена 21 запись"), u8("Zapisano 21 wpisów"),
                                   u8("21 textes dans l’historique"), "21 captures stored"}));
}
