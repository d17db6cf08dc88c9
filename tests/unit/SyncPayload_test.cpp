// The settings-sync document: which settings travel, the blob's exact bytes, strict decoding,
// and applying a document through the settings store.
#include "core/AppSettings.h"
#include "core/Defaults.h"
#include "core/SyncPayload.h"

#include "support/TestEnvironment.h"
#include "support/fakes/FakeLoginItem.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class Machine {
public:
    explicit Machine(const QString& name)
        : path(TestEnvironment::home() + "/sync-" + name + ".json"),
          defaults((QFile::remove(path), path)), settings(defaults, loginItem) {}

    QString path;
    FakeLoginItem loginItem;
    Defaults defaults;
    AppSettings settings;
};

const QByteArray defaultBlob = R"({"cleanupEnabled":true,"detectQR":true,"historyLimit":100,)"
                               R"("improveDataSharing":true,"keepHistory":true,"showHUD":true,)"
                               R"("soundEnabled":true})";

} // namespace

TEST(SyncPayload, TheBlobIsSortedCompactAndCarriesOnlyTravellingSettings) {
    Machine m("blob");
    EXPECT_EQ(SyncPayload::from(m.settings).blob(), defaultBlob);

    // Settings that never travel leave the blob as it was.
    m.settings.set(Settings::launchAtLogin, false);
    m.settings.set(Settings::crashReportingEnabled, false);
    m.settings.set(Settings::onboardingCompleted, true);
    EXPECT_EQ(SyncPayload::from(m.settings).blob(), defaultBlob);

    m.settings.set(Settings::languageCode, QString("zh-Hant"));
    m.settings.set(Settings::historyLimit, 1000);
    m.settings.set(Settings::detectQR, false);
    EXPECT_EQ(SyncPayload::from(m.settings).blob(),
              R"({"cleanupEnabled":true,"detectQR":false,"historyLimit":1000,)"
              R"("improveDataSharing":true,"keepHistory":true,"languageCode":"zh-Hant",)"
              R"("showHUD":true,"soundEnabled":true})");
    const std::optional<SyncPayload> back =
        SyncPayload::decode(SyncPayload::from(m.settings).blob());
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, SyncPayload::from(m.settings));
}

TEST(SyncPayload, EqualSettingsGiveIdenticalBlobsWhateverTheOrderOfChanges) {
    Machine a("order-a"), b("order-b");
    a.settings.set(Settings::showHUD, false);
    a.settings.set(Settings::languageCode, QString("de"));
    a.settings.set(Settings::historyLimit, 25);
    b.settings.set(Settings::historyLimit, 300);
    b.settings.set(Settings::historyLimit, 25);
    b.settings.set(Settings::languageCode, QString("de"));
    b.settings.set(Settings::showHUD, true);
    b.settings.set(Settings::showHUD, false);
    EXPECT_EQ(SyncPayload::from(a.settings).blob(), SyncPayload::from(b.settings).blob());
}

TEST(SyncPayload, DecodingIsStrictAboutTypesAndLenientAboutNamesAndNulls) {
    const auto decoded = SyncPayload::decode(
        R"({"showHUD":false,"languageCode":null,"theme":"dark","historyLimit":300.0})");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->value("showHUD"), QJsonValue(false));
    EXPECT_EQ(decoded->value("historyLimit"), QJsonValue(300));
    EXPECT_EQ(decoded->value("languageCode"), std::nullopt);
    EXPECT_EQ(decoded->value("theme"), std::nullopt);
    EXPECT_EQ(decoded->blob(), R"({"historyLimit":300,"showHUD":false})");
    EXPECT_TRUE(SyncPayload::decode("{}"));

    for (const QByteArray bad :
         {R"({"historyLimit":"100"})", R"({"historyLimit":2.5})", R"({"historyLimit":1e300})",
          R"({"showHUD":1})", R"({"showHUD":"true"})", R"({"languageCode":5})",
          R"({"keepHistory":[true]})", R"({"detectQR":{}})", "[]", "\"x\"", "", "{\"showHUD\":"})
        EXPECT_FALSE(SyncPayload::decode(bad)) << bad.toStdString();
}

TEST(SyncPayload, ApplyingSetsTheLanguageAlwaysAndOtherSettingsOnlyWhenPresent) {
    Machine m("apply");
    m.settings.set(Settings::languageCode, QString("ja"));
    m.settings.set(Settings::historyLimit, 50);
    m.settings.set(Settings::soundEnabled, false);
    m.settings.set(Settings::launchAtLogin, false);
    QSignalSpy changed(&m.settings, &AppSettings::changed);

    SyncPayload::decode(R"({"showHUD":false})")->apply(m.settings);
    EXPECT_FALSE(m.settings.value(Settings::showHUD));
    EXPECT_EQ(m.settings.value(Settings::languageCode), std::nullopt); // the system language
    EXPECT_FALSE(m.defaults.contains("languageCode"));
    EXPECT_EQ(m.settings.value(Settings::historyLimit), 50);
    EXPECT_FALSE(m.settings.value(Settings::soundEnabled));
    EXPECT_FALSE(m.settings.value(Settings::launchAtLogin));
    // Through the store's setters, so its followers hear of it and the file holds it.
    QStringList keys;
    for (const auto& args : changed)
        keys << args.at(0).toString();
    EXPECT_EQ(keys, (QStringList{"languageCode", "showHUD"}));
    EXPECT_EQ(Defaults(m.path).boolValue("showHUD"), false);

    // A whole document from another machine makes this one equal to it.
    Machine other("apply-other");
    other.settings.set(Settings::languageCode, QString("pt-BR"));
    other.settings.set(Settings::keepHistory, false);
    other.settings.set(Settings::improveDataSharing, false);
    SyncPayload::from(other.settings).apply(m.settings);
    EXPECT_EQ(SyncPayload::from(m.settings).blob(), SyncPayload::from(other.settings).blob());
}
