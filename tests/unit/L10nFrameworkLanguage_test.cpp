#include "support/FrameworkLanguage.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

QString qtCatalogue(const QString& suffix) {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_" + suffix + ".qm";
}

// A catalogue folder holding copies of Qt's German catalogue under the given names, so the
// folder's only translation is recognisably German whatever name it is found under.
QString fakeCatalogue(const QString& folder, const QStringList& files) {
    const QString dir = TestEnvironment::home() + "/" + folder;
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    for (const QString& file : files)
        QFile::copy(qtCatalogue("de"), dir + "/" + file);
    return dir + "/fake";
}

QString cancelText(const QTranslator* translator) {
    return translator ? translator->translate("QPlatformTheme", "Cancel") : QString();
}

} // namespace

TEST(FrameworkLanguage, CandidateOrder) {
    EXPECT_EQ(FrameworkLanguage::candidates("de"), QStringList({"de"}));
    EXPECT_EQ(FrameworkLanguage::candidates("zh-Hans"), QStringList({"zh_Hans", "zh_CN", "zh"}));
    EXPECT_EQ(FrameworkLanguage::candidates("zh-Hant"), QStringList({"zh_Hant", "zh_TW", "zh"}));
    EXPECT_EQ(FrameworkLanguage::candidates("pt-BR"), QStringList({"pt_BR", "pt"}));
    EXPECT_EQ(FrameworkLanguage::candidates("en"), QStringList({"en", ""}));
}

TEST(FrameworkLanguage, LprojFindsTheFirstCandidateAndCachesOnlySuccess) {
    if (!QFile::exists(qtCatalogue("de")))
        GTEST_SKIP() << "Qt's translations are not installed";

    // Only a two-letter folder: zh-Hans falls back to it.
    const QString zhOnly = fakeCatalogue("zh-only", {"fake_zh.qm"});
    QTranslator* zh = FrameworkLanguage::catalogueTranslator(zhOnly, "zh-Hans");
    ASSERT_NE(zh, nullptr);
    EXPECT_EQ(cancelText(zh), "Abbrechen");
    EXPECT_EQ(FrameworkLanguage::catalogueTranslator(zhOnly, "zh-Hans"),
              zh); // served from the cache

    // English falls back to the unsuffixed catalogue.
    const QString baseOnly = fakeCatalogue("base-only", {"fake.qm"});
    EXPECT_EQ(cancelText(FrameworkLanguage::catalogueTranslator(baseOnly, "en")), "Abbrechen");
    EXPECT_EQ(FrameworkLanguage::catalogueTranslator(baseOnly, "de"),
              nullptr); // "Base" is for English only

    // None of the candidates: nothing, and nothing cached, so a later call tries again.
    const QString none = fakeCatalogue("none", {"fake_fr.qm"});
    EXPECT_EQ(FrameworkLanguage::catalogueTranslator(none, "ru"), nullptr);
    QFile::copy(qtCatalogue("de"), none + "_ru.qm");
    EXPECT_EQ(cancelText(FrameworkLanguage::catalogueTranslator(none, "ru")), "Abbrechen");

    // A file that exists but is no catalogue is skipped for the next candidate.
    const QString broken = fakeCatalogue("broken", {"fake_pt.qm"});
    TestEnvironment::writeFile(broken + "_pt_BR.qm", "not a catalogue");
    EXPECT_EQ(cancelText(FrameworkLanguage::catalogueTranslator(broken, "pt-BR")), "Abbrechen");

    // The real catalogues: zh-Hans reaches Qt's zh_CN through the locale name.
    const QString qtbase = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase";
    if (QFile::exists(qtCatalogue("zh_CN"))) {
        EXPECT_EQ(cancelText(FrameworkLanguage::catalogueTranslator(qtbase, "zh-Hans")),
                  QString::fromUtf8("取消"));
    }
}

TEST(FrameworkLanguage, ConcurrentLookupsShareOneTranslator) {
    if (!QFile::exists(qtCatalogue("de")))
        GTEST_SKIP() << "Qt's translations are not installed";
    const QString catalogue = fakeCatalogue("threads", {"fake_nl.qm"});
    std::vector<QTranslator*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < 50; ++round)
                seen[i] = FrameworkLanguage::catalogueTranslator(catalogue, "nl");
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (QTranslator* translator : seen)
        EXPECT_EQ(translator, seen.front());
    EXPECT_NE(seen.front(), nullptr);
}
