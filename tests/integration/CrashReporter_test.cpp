// Crash reports against the reference service: one request per crash, in order, with the
// members the crash supplies and only those; nothing when reporting is off.
#include "core/CloudClient.h"
#include "core/CrashConfig.h"
#include "core/CrashReporter.h"
#include "core/Defaults.h"

#include "support/ReferenceService.h"
#include "support/TestEnvironment.h"
#include "support/fakes/FakeCrashCatcher.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

CrashDiagnostic crash(int signal) {
    CrashDiagnostic diagnostic;
    diagnostic.osVersion = "Debian GNU/Linux 12 (bookworm)";
    diagnostic.architecture = "x86_64";
    diagnostic.callStack = R"({"callStacks":[]})";
    diagnostic.signal = signal;
    diagnostic.terminationReason = QString("signal %1").arg(signal);
    return diagnostic;
}

class CrashReporterTest : public ::testing::Test {
protected:
    CrashReporterTest()
        : defaults(freshDefaults()), client(network, service.baseUrl()),
          reporter(catcher, defaults, client) {}
    void SetUp() override {
        ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();
    }
    static QString freshDefaults() {
        const QString path = TestEnvironment::home() + "/crash-defaults.json";
        QFile::remove(path);
        return path;
    }
    QList<QJsonObject> waitForReports(qsizetype count) {
        QDeadlineTimer deadline(10000);
        while (service.received("/api/crash").size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return service.received("/api/crash");
    }

    ReferenceService service;
    Defaults defaults;
    QNetworkAccessManager network;
    CloudClient client;
    FakeCrashCatcher catcher;
    CrashReporter reporter;
};

} // namespace

TEST_F(CrashReporterTest, EachCrashIsOneReportInOrderByDefault) {
    catcher.pending = {crash(11), crash(6)};
    reporter.start();
    EXPECT_TRUE(catcher.pending.isEmpty());
    const QList<QJsonObject> sent = waitForReports(2);
    ASSERT_EQ(sent.size(), 2);
    const QJsonObject first = sent[0].value("json").toObject();
    EXPECT_EQ(sent[0].value("auth"), "none");
    EXPECT_EQ(sent[0].value("status"), 200);
    EXPECT_EQ(first.value("type"), "crash");
    EXPECT_EQ(first.value("app"), "glintext");
    EXPECT_EQ(first.value("signal"), 11);
    EXPECT_EQ(first.value("osVersion"), "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(first.value("callStack"), R"({"callStacks":[]})");
    EXPECT_EQ(sent[1].value("json").toObject().value("signal"), 6);

    // One identifier, created once, shared by every report.
    const QString id = first.value("installID").toString();
    EXPECT_TRUE(
        QRegularExpression("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$").match(id).hasMatch());
    EXPECT_EQ(sent[1].value("json").toObject().value("installID"), id);
    EXPECT_EQ(CrashConfig::installID(defaults), id);
    EXPECT_EQ(service.reports("crash").size(), 2);
}

TEST_F(CrashReporterTest, ACrashWithoutDetailsHasExactlyTheEightOtherMembers) {
    CrashDiagnostic bare;
    bare.callStack = QByteArray("\xff\xfe", 2); // not UTF-8: sent as empty text
    const QJsonObject report = CrashReporter::report(bare, "ID");
    EXPECT_EQ(report.keys(), (QStringList{"app", "appVersion", "arch", "build", "callStack",
                                          "installID", "osVersion", "type"}));
    EXPECT_EQ(report.value("callStack"), "");
    catcher.pending = {bare};
    reporter.start();
    ASSERT_EQ(waitForReports(1).value(0).value("status"), 200); // the service takes it
}

TEST_F(CrashReporterTest, WithReportingOffNothingIsSentAndTheCrashesAreGone) {
    defaults.setBool(CrashConfig::reportingEnabledKey, false);
    catcher.pending = {crash(11)};
    reporter.start();
    EXPECT_TRUE(catcher.pending.isEmpty());
    reporter.didReceive({crash(4)});
    QDeadlineTimer settle(500);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(service.received("/api/crash").isEmpty());

    defaults.setString(CrashConfig::reportingEnabledKey, "no"); // another type reads as on
    EXPECT_TRUE(CrashConfig::reportingEnabled(defaults));
}
