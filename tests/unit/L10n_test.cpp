#include "core/CloudConfig.h"
#include "core/Defaults.h"
#include "support/AppLanguage.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "support/LocalizationTables.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <QLocale>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

AppLanguage fromList(QStringList list) {
    return AppLanguage::fromPreferredLanguages(list);
}

} // namespace

TEST(LocalizationTables, ReferenceTranslations) {
    struct Row {
        AppLanguage language;
        const char* key;
        const char* text;
    };
    const Row rows[] = {
        {AppLanguage::ja, "menu.capture", "テキストをキャプチャ"},
        {AppLanguage::de, "menu.capture", "Text erfassen"},
        {AppLanguage::ru, "menu.capture", "Распознать текст"},
        {AppLanguage::ptBR, "menu.capture", "Capturar texto"},
        {AppLanguage::ja, "common.systemDefault", "システム"},
        {AppLanguage::de, "common.systemDefault", "System"},
        {AppLanguage::ru, "common.systemDefault", "Системный"},
        {AppLanguage::ptBR, "common.systemDefault", "Sistema"},
        {AppLanguage::de, "about.version", "Version %@"},
        {AppLanguage::es, "tab.general", "General"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LocalizationTables::table(row.language).value(row.key),
                  QString::fromUtf8(row.text))
            << row.language.id().toStdString() << " " << row.key;
    }
    // Counts as the reference rows show them, through the plural-aware lookup.
    EXPECT_EQ(L10n::counted("toast.ocrDone", 12, AppLanguage::ja),
              QString::fromUtf8("12 文字をコピーしました"));
    EXPECT_EQ(L10n::counted("toast.ocrDone", 12, AppLanguage::ru),
              QString::fromUtf8("Скопировано 12 символов"));
    EXPECT_EQ(L10n::counted("toast.ocrDone", 12, AppLanguage::ptBR), "12 caracteres copiados");
    EXPECT_EQ(L10n::counted("hist.limitFmt", 25, AppLanguage::nl), "25 items");
}

TEST(LocalizationTablesDeathTest, RepeatedKeyStopsTheProgram) {
    const LocalizationTables::Entry entries[] = {{"a.b", "1"}, {"a.c", "2"}, {"a.b", "3"}};
    EXPECT_DEATH(LocalizationTables::build(entries, "test"), "a.b appears twice");
}

TEST(AppLanguage, CasesIdsNamesAndExactParsing) {
    QStringList ids, names;
    for (AppLanguage language : AppLanguage::allCases()) {
        ids.append(language.id());
        names.append(language.displayName());
    }
    EXPECT_EQ(ids, QStringList({"en", "ja", "ko", "zh-Hans", "zh-Hant", "de", "fr", "es", "pt-BR",
                                "ru", "it", "nl", "pl", "tr"}));
    EXPECT_EQ(names.at(3), QString::fromUtf8("简体中文"));
    EXPECT_EQ(names.at(8), QString::fromUtf8("Português (Brasil)"));
    EXPECT_EQ(names.at(13), QString::fromUtf8("Türkçe"));
    for (AppLanguage language : AppLanguage::allCases())
        EXPECT_EQ(AppLanguage::fromId(language.id()), language);
    for (const char* bad : {"pt-br", "PT-BR", "zh-hans", "zh", "pt", " de", "de ", "", "sv"})
        EXPECT_EQ(AppLanguage::fromId(QString::fromLatin1(bad)), std::nullopt) << bad;
}

TEST(AppLanguage, SystemDefaultFromPreferredLanguages) {
    using L = AppLanguage;
    EXPECT_EQ(fromList({"zh-TW"}), L::zhHant);
    EXPECT_EQ(fromList({"zh-Hant-HK"}), L::zhHant);
    EXPECT_EQ(fromList({"zh-Hans-CN"}), L::zhHans);
    EXPECT_EQ(fromList({"zh-MO"}), L::zhHant);
    EXPECT_EQ(fromList({"zh"}), L::zhHans);
    EXPECT_EQ(fromList({"pt-PT"}), L::ptBR);
    EXPECT_EQ(fromList({"sv-SE", "de-AT"}), L::de);
    EXPECT_EQ(fromList({"sv-SE"}), L::en);
    EXPECT_EQ(fromList({}), L::en);
    // POSIX spellings from LANG and LANGUAGE read the same.
    EXPECT_EQ(fromList({"zh_TW"}), L::zhHant);
    EXPECT_EQ(fromList({"zh_TW.UTF-8"}), L::zhHant);
    EXPECT_EQ(fromList({"ja_JP.UTF-8"}), L::ja);
    EXPECT_EQ(fromList({"C", "nb-NO", "tr-TR"}), L::tr);
    EXPECT_EQ(fromList({"en-GB", "de"}), L::en);
}

QString freshDefaultsPath() {
    const QString path = TestEnvironment::home() + "/l10n-defaults.json";
    QFile::remove(path);
    return path;
}

class L10nTest : public ::testing::Test {
protected:
    void TearDown() override { m_l10n.apply(QStringLiteral("en")); }
    L10n& l10n() { return m_l10n; }
    std::optional<QStringList> appleLanguages() const {
        return defaults.stringListValue("AppleLanguages");
    }
    QStringList system{"sv-SE", "fr-CA"};
    Defaults defaults{freshDefaultsPath()};
    DefaultsLanguageStore store{defaults};
    L10n m_l10n{store, [this] { return system; }};
};

TEST_F(L10nTest, ApplyKeepsAppleLanguagesAndTheDefaultLocaleInStep) {
    QSignalSpy changed(&l10n(), &L10n::languageChanged);
    l10n().apply(QStringLiteral("de"));
    EXPECT_EQ(l10n().language(), AppLanguage::de);
    EXPECT_EQ(appleLanguages(), QStringList{"de"});
    EXPECT_EQ(QLocale().language(), QLocale::German);
    EXPECT_EQ(l10n().string("menu.capture"), "Text erfassen");

    // "System" after a fixed language: the override goes, the system list decides.
    l10n().apply(std::nullopt);
    EXPECT_EQ(l10n().language(), AppLanguage::fr);
    EXPECT_EQ(appleLanguages(), std::nullopt);
    EXPECT_FALSE(defaults.contains("AppleLanguages"));
    EXPECT_EQ(QLocale(), QLocale::system());

    // A code that differs from an id only in case is no language.
    l10n().apply(QStringLiteral("zh-Hans"));
    EXPECT_EQ(appleLanguages(), QStringList{"zh-Hans"});
    l10n().apply(QStringLiteral("pt-br"));
    EXPECT_EQ(l10n().language(), AppLanguage::fr);
    EXPECT_FALSE(defaults.contains("AppleLanguages"));
    EXPECT_EQ(changed.count(), 4);
}

TEST_F(L10nTest, BootstrapReadsTheStoredLanguage) {
    defaults.setString("languageCode", "ja");
    l10n().bootstrap();
    EXPECT_EQ(l10n().language(), AppLanguage::ja);
    EXPECT_EQ(appleLanguages(), QStringList{"ja"});

    defaults.setString("languageCode", "");
    system = {"ko-KR"};
    l10n().bootstrap();
    EXPECT_EQ(l10n().language(), AppLanguage::ko);
    EXPECT_EQ(appleLanguages(), std::nullopt);

    defaults.setInteger("languageCode", 5); // wrong type reads as absent
    system = {};
    l10n().bootstrap();
    EXPECT_EQ(l10n().language(), AppLanguage::en);
}

TEST_F(L10nTest, LookupFallsBackToTheKeyAndFormatsPlaceholders) {
    for (AppLanguage language : AppLanguage::allCases()) {
        l10n().apply(language.id());
        EXPECT_EQ(l10n().string("menu.noSuchKey"), "menu.noSuchKey");
        EXPECT_EQ(l10n().string(""), "");
        // The service host is filled in, never shown as a token.
        const QString signIn = l10n().string("toast.hqSignIn");
        EXPECT_TRUE(signIn.contains(CloudConfig::baseURL().host())) << signIn.toStdString();
        EXPECT_FALSE(signIn.contains("{host}"));
    }
    EXPECT_EQ(L10n::counted("toast.ocrDone", 12, AppLanguage::en), "Copied 12 characters");
    EXPECT_EQ(L10n::counted("toast.ocrDone", 12, AppLanguage::de), "12 Zeichen kopiert");
    EXPECT_EQ(L10n::format(L10n::string("about.version", AppLanguage::ja), QString("0.1.0")),
              QString::fromUtf8("バージョン 0.1.0"));
    EXPECT_EQ(L10n::string("toast.hqSignIn", AppLanguage::en),
              "Sign in at " + CloudConfig::baseURL().host() + " to use high-accuracy capture");
}
