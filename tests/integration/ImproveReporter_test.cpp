// The improvement reporter against the reference service: what is queued, when batches go,
// what an answer does to the queue file, and samples.
#include "core/AppSettings.h"
#include "core/CloudClient.h"
#include "core/Defaults.h"
#include "core/ImproveReporter.h"

#include "support/ReferenceService.h"
#include "support/TestEnvironment.h"
#include "support/fakes/FakeClock.h"
#include "support/fakes/FakeLoginItem.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <limits>

using namespace std::chrono_literals;

namespace {

QString freshDir(const char* name) {
    const QString dir = TestEnvironment::home() + "/improve-" + name;
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    return dir;
}

class ImproveReporterTest : public ::testing::Test {
protected:
    ImproveReporterTest()
        : dir(freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name())),
          defaults(dir + "/defaults.json"), settings(defaults, login),
          client(network, service.baseUrl()) {}

    void SetUp() override {
        ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();
    }

    // The reporter, started; its timer far away unless a test brings its own timing.
    ImproveReporter& reporter(ImproveReporter::Timing timing = {1h, 1h, 2s}) {
        improve = std::make_unique<ImproveReporter>(settings, defaults, client, clock,
                                                    dir + "/improve-queue.jsonl", timing);
        improve->start();
        improve->waitForQueue();
        return *improve;
    }

    QByteArray line(const QString& name, double ageSeconds = 0) const {
        const double t = double(clock.now().toMSecsSinceEpoch()) / 1000.0 - ageSeconds;
        return QJsonDocument(QJsonObject{{"t", t}, {"n", name}, {"p", QJsonObject{}}})
            .toJson(QJsonDocument::Compact);
    }
    void writeQueue(const QList<QByteArray>& lines) {
        QByteArray bytes;
        for (const QByteArray& l : lines)
            bytes += l + '\n';
        TestEnvironment::writeFile(improve->queueFilePath(), bytes);
    }
    QList<QByteArray> queueLines() {
        improve->waitForQueue();
        QList<QByteArray> lines = TestEnvironment::readFile(improve->queueFilePath()).split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }
    // Waits for the next batch's answer and returns its status.
    int flushAndWait() {
        QSignalSpy answered(improve.get(), &ImproveReporter::batchAnswered);
        improve->flushNow(false);
        EXPECT_TRUE(answered.wait(10000));
        improve->waitForQueue();
        return answered.value(0).value(0).toInt();
    }
    QList<QJsonObject> batches() { return service.received("/api/improve"); }
    static QJsonArray events(const QJsonObject& request) {
        return request.value("json").toObject().value("events").toArray();
    }

    ReferenceService service;
    QString dir;
    Defaults defaults;
    FakeLoginItem login;
    AppSettings settings;
    QNetworkAccessManager network;
    CloudClient client;
    FakeClock clock;
    std::unique_ptr<ImproveReporter> improve;
};

} // namespace

TEST_F(ImproveReporterTest, EventsAreSanitisedOneLineEachAndOnByDefault) {
    reporter();
    const QString long300(300, u'x');
    improve->record("ocr.result", {{"engine", "local"},
                                   {"chars", qint64(12)},
                                   {"vertical", false},
                                   {"ms", 12.5},
                                   {"text", long300},
                                   {"when", QDateTime::currentDateTimeUtc()},
                                   {"list", QVariantList{1, 2}},
                                   {"count", quint64(5)},
                                   {"huge", std::numeric_limits<quint64>::max()},
                                   {"nan", std::nan("")},
                                   {"inf", std::numeric_limits<double>::infinity()}});
    const QList<QByteArray> lines = queueLines();
    ASSERT_EQ(lines.size(), 1);
    const QJsonObject event = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(event.value("n"), "ocr.result");
    EXPECT_DOUBLE_EQ(event.value("t").toDouble(), clock.now().toMSecsSinceEpoch() / 1000.0);
    const QJsonObject p = event.value("p").toObject();
    EXPECT_EQ(p.keys(), (QStringList{"chars", "count", "engine", "ms", "text", "vertical"}));
    EXPECT_EQ(p.value("text").toString(), QString(256, u'x'));
    EXPECT_EQ(p.value("chars"), 12);
    EXPECT_EQ(p.value("ms"), 12.5);

    settings.set(Settings::improveDataSharing, false); // off: the file goes, nothing is kept
    improve->record("app.env", {});
    EXPECT_TRUE(queueLines().isEmpty());
    EXPECT_FALSE(QFile::exists(improve->queueFilePath()));
}

TEST_F(ImproveReporterTest, TheTwoHundredthLineSendsABatchWithTheEnvelope) {
    reporter();
    for (int i = 0; i < 199; ++i)
        improve->record("capture.failed", {{"reason", "noImage"}});
    improve->waitForQueue();
    QCoreApplication::processEvents();
    EXPECT_TRUE(batches().isEmpty());

    QSignalSpy answered(improve.get(), &ImproveReporter::batchAnswered);
    improve->record("capture.failed", {{"reason", "noImage"}});
    ASSERT_TRUE(answered.wait(10000));
    EXPECT_EQ(answered.value(0).value(0), 200);
    const QList<QJsonObject> sent = batches();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].value("auth"), "none"); // no token: anonymous
    const QJsonObject body = sent[0].value("json").toObject();
    EXPECT_EQ(body.value("app"), "glintext");
    EXPECT_EQ(body.value("installID"), defaults.stringValue("crashInstallID").value_or("-"));
    EXPECT_EQ(body.value("arch"), QSysInfo::currentCpuArchitecture());
    EXPECT_FALSE(body.value("os").toString().isEmpty());
    EXPECT_FALSE(body.value("locale").toString().isEmpty());
    EXPECT_EQ(events(sent[0]).size(), 200);
    EXPECT_TRUE(queueLines().isEmpty());
    EXPECT_EQ(service.reports("improve").size(), 1);
}

TEST_F(ImproveReporterTest, BatchesHoldTwoHundredAndOldOrBrokenLinesLeave) {
    reporter();
    QList<QByteArray> lines{line("old", 8 * 86400), "not json", "{\"n\":\"no time\"}"};
    for (int i = 0; i < 250; ++i)
        lines << line(QString("e%1").arg(i));
    writeQueue(lines);
    EXPECT_EQ(flushAndWait(), 200);
    const QJsonArray sent = events(batches().value(0));
    ASSERT_EQ(sent.size(), 200);
    EXPECT_EQ(sent.first().toObject().value("n"), "e0");
    EXPECT_EQ(sent.last().toObject().value("n"), "e199");
    const QList<QByteArray> left = queueLines();
    ASSERT_EQ(left.size(), 50);
    EXPECT_EQ(left.first(), lines[3 + 200]);

    // Only expired lines: nothing is sent and the file goes.
    writeQueue({line("old", 8 * 86400), line("older", 30 * 86400)});
    service.clearReceived();
    improve->flushNow(false);
    EXPECT_TRUE(queueLines().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(batches().isEmpty());
}

TEST_F(ImproveReporterTest, ServerErrorsAndNoAnswerKeepTheFile) {
    reporter();
    writeQueue({line("a"), line("b")});
    service.queueAnswer("/api/improve", 503, QJsonObject{{"error", "down"}});
    EXPECT_EQ(flushAndWait(), 503);
    EXPECT_EQ(queueLines().size(), 2);

    service.stop(); // no answer at all: kept too
    EXPECT_EQ(flushAndWait(), 0);
    EXPECT_EQ(queueLines().size(), 2);
}

TEST_F(ImproveReporterTest, ARefusedBatchIsDroppedLikeASentOne) {
    reporter();
    writeQueue({line("a"), line("b")});
    service.queueAnswer("/api/improve", 400, QJsonObject{{"error", "invalid_member"}});
    EXPECT_EQ(flushAndWait(), 400);
    EXPECT_TRUE(queueLines().isEmpty());
}

TEST_F(ImproveReporterTest, EventsRecordedDuringAnUploadStay) {
    reporter();
    writeQueue({line("a"), line("b"), line("c")});
    service.queueDelay("/api/improve", 800);
    QSignalSpy answered(improve.get(), &ImproveReporter::batchAnswered);
    improve->flushNow(false);
    improve->waitForQueue(); // the batch is read and on its way
    improve->record("during", {{"n", 1}});
    improve->record("during", {{"n", 2}});
    improve->flushNow(false); // one batch at a time: this one does nothing
    ASSERT_TRUE(answered.wait(10000));
    const QList<QByteArray> left = queueLines();
    ASSERT_EQ(left.size(), 2);
    EXPECT_TRUE(left[0].contains("\"during\""));
    EXPECT_EQ(events(batches().value(0)).size(), 3);
    EXPECT_EQ(batches().size(), 1);
}

TEST_F(ImproveReporterTest, ALineCutByAKillLosesOnlyItselfAndFlushesGoOn) {
    reporter();
    // What a process killed in the middle of an append leaves: a line without its end.
    TestEnvironment::writeFile(improve->queueFilePath(), line("whole") + "\n{\"t\":17650");
    improve->record("after", {});
    const QList<QByteArray> lines = queueLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], "{\"t\":17650");
    EXPECT_EQ(flushAndWait(), 200);
    const QJsonArray sent = events(batches().value(0));
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[1].toObject().value("n"), "after");
    EXPECT_TRUE(queueLines().isEmpty());
}

TEST_F(ImproveReporterTest, AQueueKilledWhileRecordingIsSentWhole) {
    reporter();
    for (int kill = 0; kill < 3; ++kill) {
        QProcess loop;
        loop.start(IMPROVE_RECORD_LOOP, {improve->queueFilePath(), dir + "/loop-defaults.json"});
        ASSERT_TRUE(loop.waitForReadyRead(10000));
        QThread::msleep(37 + 53 * kill); // somewhere in the middle of an append
        ::kill(pid_t(loop.processId()), SIGKILL);
        ASSERT_TRUE(loop.waitForFinished(5000));
    }
    qsizetype whole = 0;
    for (const QByteArray& l : queueLines())
        whole += QJsonDocument::fromJson(l).isObject() ? 1 : 0;
    ASSERT_GT(whole, 150);
    // The lines were recorded at the real time; the reporter's clock must not expire them.
    clock.set(QDateTime::currentDateTimeUtc());
    qsizetype sent = 0;
    for (int i = 0; i < 100 && QFile::exists(improve->queueFilePath()); ++i) {
        service.clearReceived();
        ASSERT_EQ(flushAndWait(), 200);
        sent += events(batches().value(0)).size();
    }
    EXPECT_EQ(sent, whole);
    EXPECT_FALSE(QFile::exists(improve->queueFilePath()));
}

TEST_F(ImproveReporterTest, TheTimerFlushesFirstAfterItsDelayThenEveryPeriod) {
    reporter({50ms, 150ms, 2s});
    writeQueue({line("a")});
    QSignalSpy answered(improve.get(), &ImproveReporter::batchAnswered);
    ASSERT_TRUE(answered.wait(5000));
    writeQueue({line("b")});
    ASSERT_TRUE(answered.wait(5000));
    EXPECT_EQ(batches().size(), 2);
}

TEST_F(ImproveReporterTest, TheFinalFlushWaitsForItsAnswerButNoLongerThanTheLimit) {
    reporter({1h, 1h, 300ms});
    writeQueue({line("a")});
    improve->flushNow(true);
    EXPECT_TRUE(queueLines().isEmpty()); // answered within the limit

    writeQueue({line("b")});
    service.queueDelay("/api/improve", 3000);
    QElapsedTimer waited;
    waited.start();
    improve->flushNow(true);
    EXPECT_LT(waited.elapsed(), 2000);
    EXPECT_EQ(queueLines().size(), 1); // not confirmed: kept for the next start
}

TEST_F(ImproveReporterTest, SamplesGoOnlyWithATokenAndAreNotCut) {
    reporter();
    const QVariantMap sample{{"localText", QString(300, u'l')},
                             {"cloudText", "cloud"},
                             {"coverage", 0.9},
                             {"accepted", true},
                             {"app", "someone else"}};
    improve->sample(sample); // signed out: dropped
    const auto account = service.createAccount("s@example.org");
    improve->setTokenProvider([token = account.token] { return std::optional(token); });
    improve->sample(sample);
    QDeadlineTimer deadline(10000);
    while (service.received("/api/improve/sample").isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const QList<QJsonObject> sent = service.received("/api/improve/sample");
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].value("auth"), "valid");
    EXPECT_EQ(sent[0].value("status"), 200);
    const QJsonObject body = sent[0].value("json").toObject();
    EXPECT_EQ(body.value("localText").toString().size(), 300);
    EXPECT_EQ(body.value("app"), "glintext");
    EXPECT_EQ(body.value("installID"), defaults.stringValue("crashInstallID").value_or("-"));
    EXPECT_TRUE(queueLines().isEmpty()); // never queued
}
