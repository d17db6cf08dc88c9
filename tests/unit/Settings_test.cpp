#include "core/AppSettings.h"
#include "core/CloudClient.h"
#include "core/DebugLog.h"
#include "core/Defaults.h"
#include "core/ImproveReporter.h"
#include "core/OCRHistoryStore.h"
#include "platform/xdg/XdgAutostartLoginItem.h"

#include "support/TestEnvironment.h"
#include "support/Unprivileged.h"
#include "support/fakes/FakeClock.h"
#include "support/fakes/FakeLoginItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QString freshDefaultsPath(const char* name) {
    const QString path = TestEnvironment::home() + "/defaults-" + name + ".json";
    QFile::remove(path);
    for (const QString& name :
         QDir(TestEnvironment::home()).entryList({QFileInfo(path).fileName() + ".corrupt*"}))
        QFile::remove(TestEnvironment::home() + "/" + name);
    return path;
}

QJsonObject fileObject(const QString& path) {
    return QJsonDocument::fromJson(TestEnvironment::readFile(path)).object();
}

QStringList g_warnings;
void captureWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg)
        g_warnings.append(message);
}

} // namespace

TEST(Defaults, ValuesKeepTheirTypeAndWrongTypesReadAsMissing) {
    const QString path = freshDefaultsPath("types");
    TestEnvironment::writeFile(
        path, R"({"showHUD":"false","historyLimit":25,"fraction":2.5,"whole":300.0,)"
              R"("flag":false,"name":"de","langs":["de","en"],"mixed":["de",1]})");
    Defaults d(path);
    EXPECT_EQ(d.boolValue("showHUD"), std::nullopt);
    EXPECT_EQ(d.stringValue("showHUD"), "false");
    EXPECT_EQ(d.integerValue("historyLimit"), 25);
    EXPECT_EQ(d.integerValue("fraction"), std::nullopt);
    EXPECT_EQ(d.integerValue("whole"), 300);
    EXPECT_EQ(d.doubleValue("fraction"), 2.5);
    EXPECT_EQ(d.boolValue("flag"), false);
    EXPECT_EQ(d.integerValue("flag"), std::nullopt);
    EXPECT_EQ(d.boolValue("historyLimit"), std::nullopt);
    EXPECT_EQ(d.stringListValue("langs"), QStringList({"de", "en"}));
    EXPECT_EQ(d.stringListValue("mixed"), std::nullopt);
    EXPECT_EQ(d.stringValue("missing"), std::nullopt);
    EXPECT_FALSE(d.boolForKey("showHUD"));

    // Every change is on disk at once, and reads back with its type.
    d.setInteger("historyLimit", 1000);
    d.setStringList("AppleLanguages", {"ja"});
    d.remove("name");
    Defaults again(path);
    EXPECT_EQ(again.integerValue("historyLimit"), 1000);
    EXPECT_EQ(again.stringListValue("AppleLanguages"), QStringList({"ja"}));
    EXPECT_FALSE(again.contains("name"));
    EXPECT_EQ(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther), 0);
}

TEST(Defaults, AFileThatDoesNotParseIsMovedAsideNotOverwritten) {
    for (const QByteArray& damaged : {QByteArray("{\"showHUD\": tru"), QByteArray("[1,2]")}) {
        const QString path = freshDefaultsPath("corrupt");
        TestEnvironment::writeFile(path, damaged);
        Defaults d(path);
        EXPECT_FALSE(d.contains("showHUD"));
        EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt"), damaged);
        d.setBool("showHUD", false);
        EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt"), damaged);
        EXPECT_EQ(Defaults(path).boolValue("showHUD"), false);
    }
}

TEST(Defaults, EachDamagedFileIsKeptNewestFirstAndOnlyTheOldestBeyondAFewGoes) {
    const QString path = freshDefaultsPath("damaged-again");
    for (int i = 1; i <= 7; ++i) {
        TestEnvironment::writeFile(path, "{ damaged " + QByteArray::number(i));
        Defaults d(path);
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt"), "{ damaged 7");
    EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt.1"), "{ damaged 6");
    EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt.4"), "{ damaged 3");
    EXPECT_FALSE(QFile::exists(path + ".corrupt.5"));
    EXPECT_EQ(QDir(TestEnvironment::home())
                  .entryList({QFileInfo(path).fileName() + ".corrupt*"}, QDir::Files)
                  .size(),
              5);
}

// Another user's umask or a restore gone wrong: the preferences are there, only unreadable.
TEST(Defaults, AnUnreadableFileIsLeftAloneAndTheAppRunsOnDefaults) {
    GLINTEXT_RUN_UNPRIVILEGED();
    const QString path = freshDefaultsPath("unreadable");
    const QByteArray mine = R"({"launchAtLogin":false,"showHUD":false,"historyLimit":1000})";
    TestEnvironment::writeFile(path, mine);
    ASSERT_TRUE(QFile::setPermissions(path, {}));
    ASSERT_FALSE(QFile(path).open(QIODevice::ReadOnly)) << "the file is readable after all";

    Defaults d(path);
    EXPECT_TRUE(d.isUnreadable());
    FakeLoginItem login;
    AppSettings settings(d, login);
    EXPECT_TRUE(settings.value(Settings::showHUD)); // the defaults, in memory
    EXPECT_TRUE(login.calls.isEmpty()) << "not a first start: the login item is left as it is";
    settings.set(Settings::showHUD, false);
    EXPECT_FALSE(settings.value(Settings::showHUD));

    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(TestEnvironment::readFile(path), mine);
    EXPECT_FALSE(QFile::exists(path + ".saving"));
    EXPECT_TRUE(TestEnvironment::readFile(DebugLog::currentPath()).contains("cannot be read"));
}

TEST(AppSettings, FirstStartHasTheDefaultsAndRegistersTheLoginItem) {
    const QString path = freshDefaultsPath("first");
    QFile::remove(XdgAutostartLoginItem::desktopFilePath());
    Defaults d(path);
    XdgAutostartLoginItem login;
    AppSettings settings(d, login);
    EXPECT_FALSE(settings.value(Settings::onboardingCompleted));
    for (const Setting<bool>& on :
         {Settings::launchAtLogin, Settings::cleanupEnabled, Settings::detectQR, Settings::showHUD,
          Settings::soundEnabled, Settings::keepHistory, Settings::crashReportingEnabled,
          Settings::improveDataSharing})
        EXPECT_TRUE(settings.value(on)) << on.key;
    EXPECT_EQ(settings.value(Settings::historyLimit), 100);
    EXPECT_EQ(settings.value(Settings::languageCode), std::nullopt);
    // Only launchAtLogin is written on first start.
    EXPECT_EQ(fileObject(path), QJsonObject({{"launchAtLogin", true}}));
    const QByteArray entry = TestEnvironment::readFile(XdgAutostartLoginItem::desktopFilePath());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nExec=env OMP_THREAD_LIMIT=1 \""));

    settings.set(Settings::launchAtLogin, false);
    EXPECT_FALSE(QFile::exists(XdgAutostartLoginItem::desktopFilePath()));

    // A later start with the key present touches nothing.
    FakeLoginItem fake;
    AppSettings later(d, fake);
    EXPECT_FALSE(later.value(Settings::launchAtLogin));
    EXPECT_TRUE(fake.calls.isEmpty());
}

TEST(AppSettings, WrongTypesReadAsDefaultsWithoutRewritingTheKey) {
    const QString path = freshDefaultsPath("wrong");
    TestEnvironment::writeFile(path, R"({"launchAtLogin":false,"showHUD":"false",)"
                                     R"("onboardingCompleted":"yes","historyLimit":"25",)"
                                     R"("languageCode":7,"keepHistory":false})");
    Defaults d(path);
    FakeLoginItem fake;
    AppSettings settings(d, fake);
    EXPECT_TRUE(settings.value(Settings::showHUD));
    EXPECT_FALSE(settings.value(Settings::onboardingCompleted));
    EXPECT_EQ(settings.value(Settings::historyLimit), 100);
    EXPECT_EQ(settings.value(Settings::languageCode), std::nullopt);
    EXPECT_FALSE(settings.value(Settings::keepHistory));
    EXPECT_EQ(d.stringValue("showHUD"), "false");
    EXPECT_TRUE(fake.calls.isEmpty());
}

TEST(AppSettings, EverySetWritesThroughAndNotifiesBeforeTheChange) {
    const QString path = freshDefaultsPath("write");
    Defaults d(path);
    FakeLoginItem fake;
    AppSettings settings(d, fake);

    bool valueBeforeWillChange = true;
    QJsonValue storedWhenChanged;
    QObject::connect(&settings, &AppSettings::willChange,
                     [&] { valueBeforeWillChange = settings.value(Settings::showHUD); });
    QObject::connect(&settings, &AppSettings::changed,
                     [&] { storedWhenChanged = fileObject(path).value("showHUD"); });
    QSignalSpy will(&settings, &AppSettings::willChange);
    QSignalSpy changed(&settings, &AppSettings::changed);
    settings.set(Settings::showHUD, false);
    EXPECT_TRUE(valueBeforeWillChange);
    EXPECT_EQ(will.count(), 1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().first().toString(), "showHUD");
    EXPECT_EQ(storedWhenChanged, false); // followers see the value on disk already
    EXPECT_EQ(fileObject(path).value("showHUD"), false);

    // Setting the current value still writes and still runs the side effect.
    fake.calls.clear();
    d.remove("launchAtLogin");
    settings.set(Settings::launchAtLogin, true);
    EXPECT_EQ(fileObject(path).value("launchAtLogin"), true);
    EXPECT_EQ(fake.calls, QList<bool>({true}));

    settings.set(Settings::languageCode, QString("de"));
    EXPECT_EQ(fileObject(path).value("languageCode"), "de");
    settings.set(Settings::languageCode, std::nullopt);
    EXPECT_FALSE(fileObject(path).contains("languageCode"));
    EXPECT_EQ(AppSettings(d, fake).value(Settings::languageCode), std::nullopt);
}

TEST(AppSettings, AFailingLoginItemKeepsTheChoiceAndLogsOneLine) {
    Defaults d(freshDefaultsPath("fail"));
    FakeLoginItem fake;
    fake.fail = true;
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureWarnings);
    AppSettings settings(d, fake);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(settings.value(Settings::launchAtLogin));
    EXPECT_EQ(d.boolValue("launchAtLogin"), true);
    EXPECT_EQ(g_warnings, QStringList({"Glintext: launch-at-login update failed: "
                                       "The operation couldn't be completed."}));
}

TEST(AppSettings, LoweringTheLimitPrunesAndRaisingRestoresNothing) {
    Defaults d(freshDefaultsPath("limit"));
    FakeLoginItem login;
    AppSettings settings(d, login);
    const QString historyPath = TestEnvironment::home() + "/limit-history.json";
    QFile::remove(historyPath);
    OCRHistoryStore history(settings, historyPath);
    for (int i = 0; i < 40; ++i)
        history.add(QString::number(i));
    ASSERT_EQ(history.items().size(), 40);
    settings.set(Settings::historyLimit, 25);
    ASSERT_EQ(history.items().size(), 25);
    EXPECT_EQ(history.items().first().text, "39"); // the newest stay
    settings.set(Settings::historyLimit, 1000);
    EXPECT_EQ(history.items().size(), 25);
    settings.set(Settings::historyLimit, 0); // not a limit the settings offer: refused
    EXPECT_EQ(settings.value(Settings::historyLimit), 1000);
    EXPECT_EQ(history.items().size(), 25);
}

// A limit the settings cannot choose is a value of the wrong kind: it reads as the default
// and never prunes the history to nothing.
TEST(AppSettings, AStoredLimitTheSettingsDoNotOfferReadsAsTheDefault) {
    const QString historyPath = TestEnvironment::home() + "/odd-limit-history.json";
    for (const QByteArray limit : {"0", "-5", "1", "7", "99999999999"}) {
        const QString path = freshDefaultsPath("odd-limit");
        const QByteArray stored = R"({"launchAtLogin":true,"historyLimit":)" + limit + "}";
        TestEnvironment::writeFile(path, stored);
        QList<OCRHistoryStore::Capture> entries;
        for (int i = 0; i < 150; ++i)
            entries.append({QUuid::createUuid(),
                            QDateTime::fromSecsSinceEpoch(1'700'000'000 - i, Qt::UTC),
                            QString::number(i)});
        TestEnvironment::writeFile(historyPath, OCRHistoryStore::encode(entries));
        Defaults d(path);
        FakeLoginItem login;
        AppSettings settings(d, login);
        EXPECT_EQ(settings.value(Settings::historyLimit), 100) << limit.constData();
        OCRHistoryStore history(settings, historyPath);
        EXPECT_EQ(history.items().size(), 100) << limit.constData();
        EXPECT_EQ(TestEnvironment::readFile(path), stored) << "left as it was";
    }
    for (qint64 offered : {25, 50, 100, 300, 1000}) {
        const QString path = freshDefaultsPath("offered-limit");
        TestEnvironment::writeFile(path, R"({"historyLimit":)" + QByteArray::number(offered) + "}");
        Defaults d(path);
        FakeLoginItem login;
        EXPECT_EQ(AppSettings(d, login).value(Settings::historyLimit), offered);
    }
}

TEST(AppSettings, TurningSharingOffDeletesTheQueueAndOnDoesNothing) {
    Defaults d(freshDefaultsPath("sharing"));
    FakeLoginItem login;
    AppSettings settings(d, login);
    QNetworkAccessManager network;
    CloudClient client(network, QUrl("http://127.0.0.1:9"));
    FakeClock clock;
    ImproveReporter reporter(settings, d, client, clock,
                             TestEnvironment::home() + "/sharing-queue.jsonl");
    TestEnvironment::writeFile(reporter.queueFilePath(), "{\"t\":1,\"n\":\"app.env\",\"p\":{}}\n");
    settings.set(Settings::improveDataSharing, true);
    reporter.waitForQueue();
    EXPECT_TRUE(QFile::exists(reporter.queueFilePath()));
    settings.set(Settings::improveDataSharing, false);
    reporter.waitForQueue();
    EXPECT_FALSE(QFile::exists(reporter.queueFilePath()));
    settings.set(Settings::improveDataSharing, false); // a missing file is fine
    reporter.waitForQueue();
}

TEST(SettingsTable, EveryKeyOnceWithItsTypeDefaultAndSyncFlagAndWritableByKey) {
    QStringList keys;
    QStringList synced;
    for (const Settings::Entry& entry : Settings::table()) {
        EXPECT_FALSE(keys.contains(entry.key)) << entry.key.toStdString();
        keys.append(entry.key);
        if (entry.synced)
            synced.append(entry.key);
    }
    EXPECT_EQ(keys.size(), 11);
    EXPECT_EQ(synced,
              (QStringList{"languageCode", "cleanupEnabled", "detectQR", "showHUD", "soundEnabled",
                           "keepHistory", "historyLimit", "improveDataSharing"}));
    EXPECT_EQ(Settings::entry("historyLimit")->defaultValue, 100);
    EXPECT_TRUE(Settings::entry("languageCode")->defaultValue.isNull());

    // What sync and the settings window will do: read and write through the table's keys,
    // with the same storage form and side effects as the typed calls.
    Defaults d(freshDefaultsPath("bykey"));
    FakeLoginItem login;
    AppSettings settings(d, login);
    QSignalSpy changed(&settings, &AppSettings::changed);
    EXPECT_TRUE(settings.setJsonValue("historyLimit", 300));
    EXPECT_EQ(settings.value(Settings::historyLimit), 300);
    EXPECT_EQ(d.integerValue("historyLimit"), 300);
    EXPECT_TRUE(settings.setJsonValue("languageCode", "ja"));
    EXPECT_EQ(d.stringValue("languageCode"), "ja");
    EXPECT_TRUE(settings.setJsonValue("languageCode", QJsonValue()));
    EXPECT_FALSE(d.contains("languageCode"));
    login.calls.clear();
    EXPECT_TRUE(settings.setJsonValue("launchAtLogin", false));
    EXPECT_EQ(login.calls, QList<bool>{false});
    EXPECT_EQ(changed.count(), 4);

    // A wrong type or an unknown key changes nothing.
    EXPECT_FALSE(settings.setJsonValue("showHUD", "false"));
    EXPECT_FALSE(settings.setJsonValue("historyLimit", 2.5));
    EXPECT_FALSE(settings.setJsonValue("historyLimit", -1));
    EXPECT_FALSE(settings.setJsonValue("testerModeEnabled", true));
    EXPECT_EQ(changed.count(), 4);
    EXPECT_TRUE(settings.value(Settings::showHUD));
    EXPECT_EQ(settings.jsonValue("historyLimit"), 300);
    EXPECT_TRUE(settings.jsonValue("languageCode").isNull());
    EXPECT_TRUE(settings.jsonValue("nothing").isUndefined());
}
