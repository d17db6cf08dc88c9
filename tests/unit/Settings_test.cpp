#include "core/AppSettings.h"
#include "core/Defaults.h"
#include "core/ImproveReporter.h"
#include "core/OCRHistoryStore.h"
#include "platform/xdg/XdgAutostartLoginItem.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class FakeLoginItem : public LoginItem {
public:
    bool registerApp(QString* error) override { return answer(true, error); }
    bool unregisterApp(QString* error) override { return answer(false, error); }
    QList<bool> calls;
    bool fail = false;

private:
    bool answer(bool reg, QString* error) {
        calls.append(reg);
        if (fail && error)
            *error = "The operation couldn't be completed.";
        return !fail;
    }
};

QString freshDefaultsPath(const char* name) {
    const QString path = TestEnvironment::home() + "/defaults-" + name + ".json";
    QFile::remove(path);
    QFile::remove(path + ".corrupt");
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

TEST(AppSettings, FirstStartHasTheDefaultsAndRegistersTheLoginItem) {
    const QString path = freshDefaultsPath("first");
    QFile::remove(XdgAutostartLoginItem::desktopFilePath());
    Defaults d(path);
    XdgAutostartLoginItem login;
    AppSettings settings(d, login);
    EXPECT_FALSE(settings.onboardingCompleted());
    EXPECT_TRUE(settings.launchAtLogin() && settings.cleanupEnabled() && settings.detectQR() &&
                settings.showHUD() && settings.soundEnabled() && settings.keepHistory() &&
                settings.crashReportingEnabled() && settings.improveDataSharing());
    EXPECT_EQ(settings.historyLimit(), 100);
    EXPECT_EQ(settings.languageCode(), std::nullopt);
    // Only launchAtLogin is written on first start.
    EXPECT_EQ(fileObject(path), QJsonObject({{"launchAtLogin", true}}));
    const QByteArray entry = TestEnvironment::readFile(XdgAutostartLoginItem::desktopFilePath());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nExec=env OMP_THREAD_LIMIT=1 \""));

    settings.setLaunchAtLogin(false);
    EXPECT_FALSE(QFile::exists(XdgAutostartLoginItem::desktopFilePath()));

    // A later start with the key present touches nothing.
    FakeLoginItem fake;
    AppSettings later(d, fake);
    EXPECT_FALSE(later.launchAtLogin());
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
    EXPECT_TRUE(settings.showHUD());
    EXPECT_FALSE(settings.onboardingCompleted());
    EXPECT_EQ(settings.historyLimit(), 100);
    EXPECT_EQ(settings.languageCode(), std::nullopt);
    EXPECT_FALSE(settings.keepHistory());
    EXPECT_EQ(d.stringValue("showHUD"), "false");
    EXPECT_TRUE(fake.calls.isEmpty());
}

TEST(AppSettings, EverySetWritesThroughAndNotifiesBeforeTheChange) {
    const QString path = freshDefaultsPath("write");
    Defaults d(path);
    FakeLoginItem fake;
    AppSettings settings(d, fake);

    bool valueBeforeWillChange = true;
    QObject::connect(&settings, &AppSettings::willChange,
                     [&] { valueBeforeWillChange = settings.showHUD(); });
    QSignalSpy will(&settings, &AppSettings::willChange);
    QSignalSpy changed(&settings, &AppSettings::showHUDChanged);
    settings.setShowHUD(false);
    EXPECT_TRUE(valueBeforeWillChange);
    EXPECT_EQ(will.count(), 1);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(fileObject(path).value("showHUD"), false);

    // Setting the current value still writes and still runs the side effect.
    fake.calls.clear();
    d.remove("launchAtLogin");
    settings.setLaunchAtLogin(true);
    EXPECT_EQ(fileObject(path).value("launchAtLogin"), true);
    EXPECT_EQ(fake.calls, QList<bool>({true}));

    settings.setLanguageCode(QString("de"));
    EXPECT_EQ(fileObject(path).value("languageCode"), "de");
    settings.setLanguageCode(std::nullopt);
    EXPECT_FALSE(fileObject(path).contains("languageCode"));
    EXPECT_EQ(AppSettings(d, fake).languageCode(), std::nullopt);
}

TEST(AppSettings, AFailingLoginItemKeepsTheChoiceAndLogsOneLine) {
    Defaults d(freshDefaultsPath("fail"));
    FakeLoginItem fake;
    fake.fail = true;
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureWarnings);
    AppSettings settings(d, fake);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(settings.launchAtLogin());
    EXPECT_EQ(d.boolValue("launchAtLogin"), true);
    EXPECT_EQ(g_warnings, QStringList({"Glintext: launch-at-login update failed: "
                                       "The operation couldn't be completed."}));
}

TEST(AppSettings, LoweringTheLimitPrunesAndRaisingRestoresNothing) {
    AppSettings& settings = AppSettings::shared();
    OCRHistoryStore& history = OCRHistoryStore::shared();
    settings.setKeepHistory(true);
    settings.setHistoryLimit(100);
    history.setItems({});
    for (int i = 0; i < 40; ++i)
        history.add(QString::number(i));
    ASSERT_EQ(history.items().size(), 40);
    settings.setHistoryLimit(25);
    ASSERT_EQ(history.items().size(), 25);
    EXPECT_EQ(history.items().first().text, "39"); // the newest stay
    settings.setHistoryLimit(1000);
    EXPECT_EQ(history.items().size(), 25);
    settings.setHistoryLimit(0); // acts as 1
    EXPECT_EQ(history.items().size(), 1);
    settings.setHistoryLimit(100);
}

TEST(AppSettings, TurningSharingOffDeletesTheQueueAndOnDoesNothing) {
    AppSettings& settings = AppSettings::shared();
    ImproveReporter& reporter = ImproveReporter::shared();
    TestEnvironment::writeFile(reporter.queueFilePath(), "{\"t\":1,\"n\":\"app.env\",\"p\":{}}\n");
    settings.setImproveDataSharing(true);
    reporter.waitForQueue();
    EXPECT_TRUE(QFile::exists(reporter.queueFilePath()));
    settings.setImproveDataSharing(false);
    reporter.waitForQueue();
    EXPECT_FALSE(QFile::exists(reporter.queueFilePath()));
    settings.setImproveDataSharing(false); // a missing file is fine
    reporter.waitForQueue();
    settings.setImproveDataSharing(true);
}
