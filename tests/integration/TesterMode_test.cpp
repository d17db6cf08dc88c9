// Tester mode against the reference service, on a clock and a system log the test controls:
// the gesture, the uploads of each state change, the report's layout and limits.
#include "core/CloudClient.h"
#include "core/DebugLog.h"
#include "core/Defaults.h"
#include "core/TapCounter.h"
#include "core/TesterMode.h"

#include "support/ReferenceService.h"
#include "support/TestEnvironment.h"
#include "support/fakes/FakeClock.h"
#include "support/fakes/FakeProcessLog.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class TesterModeTest : public ::testing::Test {
protected:
    TesterModeTest() : defaults(freshDefaults()), client(network, service.baseUrl()) {
        QFile::remove(DebugLog::currentPath());
        QFile::remove(DebugLog::rotatedPath());
    }
    void SetUp() override {
        ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();
    }
    static QString freshDefaults() {
        const QString path = TestEnvironment::home() + "/tester-defaults.json";
        QFile::remove(path);
        return path;
    }
    TesterMode& mode(std::chrono::milliseconds period = TesterMode::defaultUploadPeriod) {
        tester = std::make_unique<TesterMode>(defaults, client, processLog, clock, period);
        return *tester;
    }
    // The logs the service has received so far, waiting until there are `count`.
    QStringList uploads(qsizetype count) {
        QDeadlineTimer deadline(10000);
        while (service.reports("testlog").size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QStringList logs;
        for (const QJsonObject& report : service.reports("testlog"))
            logs << report.value("log").toString();
        return logs;
    }
    static QString appLogOf(const QString& log) {
        return log.section("\n\n== unified log (own process, since ", 0, 0);
    }

    ReferenceService service;
    Defaults defaults;
    QNetworkAccessManager network;
    CloudClient client;
    FakeClock clock;
    FakeProcessLog processLog;
    std::unique_ptr<TesterMode> tester;
};

} // namespace

TEST(TapCounter, EightQuickTapsActivateAndAPauseRestartsTheCount) {
    FakeClock clock;
    TapCounter counter(clock);
    for (int i = 0; i < 7; ++i) {
        EXPECT_FALSE(counter.tap());
        clock.advance(500);
    }
    EXPECT_TRUE(counter.tap()); // the eighth
    EXPECT_EQ(counter.count(), 0);

    for (int i = 0; i < 5; ++i)
        counter.tap();
    clock.advance(2100); // too slow: this tap counts as the first
    for (int i = 0; i < 7; ++i)
        EXPECT_FALSE(counter.tap());
    EXPECT_TRUE(counter.tap());
    clock.advance(2000); // exactly two seconds is still quick
    counter.tap();
    clock.advance(2000);
    counter.tap();
    EXPECT_EQ(counter.count(), 2);
}

TEST_F(TesterModeTest, OnAndOffEachUploadAndTheLastEndsWithTheOffLine) {
    TesterMode& tm = mode();
    tm.start();
    EXPECT_TRUE(processLog.capturing);
    EXPECT_FALSE(tm.timerActive());
    EXPECT_TRUE(uploads(0).isEmpty()); // off: nothing at start

    tm.toggle();
    EXPECT_TRUE(tm.enabled());
    EXPECT_EQ(defaults.boolValue("testerModeEnabled"), true);
    EXPECT_TRUE(tm.timerActive());
    ASSERT_EQ(uploads(1).size(), 1);

    clock.advance(60000);
    tm.toggle();
    EXPECT_FALSE(tm.timerActive());
    EXPECT_EQ(defaults.boolValue("testerModeEnabled"), false);
    const QStringList logs = uploads(2);
    ASSERT_EQ(logs.size(), 2);
    EXPECT_TRUE(appLogOf(logs[0]).endsWith(" tester: mode ON\n"));
    EXPECT_TRUE(appLogOf(logs[1]).endsWith(" tester: mode OFF\n")) << logs[1].toStdString();

    const QJsonObject body = service.reports("testlog").value(1);
    EXPECT_EQ(body.keys(),
              (QStringList{"app", "appVersion", "build", "installID", "log", "osVersion", "type"}));
    EXPECT_EQ(body.value("type"), "testlog");
    EXPECT_EQ(body.value("installID"), defaults.stringValue("crashInstallID").value_or("-"));
}

TEST_F(TesterModeTest, AFirstStartCoversTheHalfHourBeforeAndEachUploadMovesTheWindow) {
    const QDateTime created = clock.now();
    processLog.add({created.addSecs(-1700), "default", "before creation, inside the window"});
    processLog.add({created.addSecs(-1900), "default", "too old"});
    defaults.setBool("testerModeEnabled", true);
    TesterMode& tm = mode();
    EXPECT_EQ(tm.lastExport(), created.addSecs(-1800));
    clock.advance(5000);
    tm.start(); // on: session line, timer, upload
    EXPECT_TRUE(tm.timerActive());
    const QString log = uploads(1).value(0);
    EXPECT_TRUE(log.contains(" tester: session start (v")) << log.toStdString();
    EXPECT_TRUE(
        log.contains("\n\n== unified log (own process, since 2026-12-07 11:30:00 +0000) ==\n"
                     "2026-12-07T11:31:40Z [default] before creation, inside the window"))
        << log.toStdString();
    EXPECT_FALSE(log.contains("too old"));
    EXPECT_TRUE(log.endsWith("inside the window")); // no trailing line feed
    EXPECT_EQ(tm.lastExport(), clock.now());
    EXPECT_EQ(defaults.stringValue("testerLastExport"), "2026-12-07T12:00:05.000Z");

    // A new object reads the stored window start.
    EXPECT_EQ(TesterMode(defaults, client, processLog, clock).lastExport(), clock.now());
}

TEST_F(TesterModeTest, TheTimerUploadsAndTheLogIsCappedOrReplacedByItsFailure) {
    for (int i = 0; i < 4005; ++i)
        processLog.add({clock.now().addSecs(-10), "cat", QString("entry %1").arg(i)});
    TesterMode& tm = mode(100ms);
    tm.toggle();
    QStringList logs = uploads(2); // the one at ON and one from the timer
    ASSERT_GE(logs.size(), 2);
    EXPECT_TRUE(logs[0].endsWith("[cat] entry 3999"));
    EXPECT_EQ(logs[0].count("[cat] entry"), 4000);

    processLog.error = "no systemd journal is running";
    tm.toggle();
    logs = uploads(3);
    EXPECT_TRUE(logs.last().endsWith(") ==\n(oslog export failed: no systemd journal is running)"))
        << logs.last().right(200).toStdString();
}

TEST(TesterModeReport, TheReportIsCutToItsLast700000Bytes) {
    const QString exact(700000, u'a');
    EXPECT_EQ(TesterMode::cutToLimit(exact), exact);
    const QString over = "b" + exact;
    EXPECT_EQ(TesterMode::cutToLimit(over), exact);
    // Wider characters: the limit in bytes still holds, and no character is cut in half.
    const QString wide = QString(400000, QChar(0x00E9));
    const QByteArray cut = TesterMode::cutToLimit(wide).toUtf8();
    EXPECT_EQ(cut.size(), 700000);
    EXPECT_EQ(TesterMode::cutToLimit(wide), QString(350000, QChar(0x00E9)));

    const QString report =
        TesterMode::reportText("app\n", QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC), "x");
    EXPECT_EQ(report, "== app log (DebugLog) ==\napp\n\n\n== unified log (own process, since "
                      "2026-01-02 03:04:05 +0000) ==\nx");
}
