#include "support/ReferenceService.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/prctl.h>

namespace {
constexpr int startTimeoutMs = 30000;
}

ReferenceService::ReferenceService() : ReferenceService(Options{}) {}

ReferenceService::ReferenceService(Options options) : options_(std::move(options)) {
    start();
}

ReferenceService::~ReferenceService() {
    stop();
}

QString ReferenceService::binary() {
    const QString forced = qEnvironmentVariable("GLINTEXT_SERVICE_BIN");
#ifdef GLINTEXT_SERVICE_BINARY
    return forced.isEmpty() ? QStringLiteral(GLINTEXT_SERVICE_BINARY) : forced;
#else
    return forced;
#endif
}

void ReferenceService::start() {
    database_ = options_.database.isEmpty() ? dir_.filePath("service.sqlite") : options_.database;
    QStringList arguments{"--db",
                          database_,
                          "--port",
                          "0",
                          "--print-port",
                          "--quota",
                          QString::number(options_.quota)};
    if (options_.testControls)
        arguments << "--test-controls";
    arguments << options_.arguments;
    // A crashed test must not leave a server behind.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start(binary(), arguments);
    QElapsedTimer timer;
    timer.start();
    while (!process_.canReadLine() && timer.elapsed() < startTimeoutMs) {
        if (!process_.waitForReadyRead(200) && process_.state() == QProcess::NotRunning)
            break;
    }
    const QByteArray line = process_.readLine().trimmed();
    port_ = quint16(line.toUInt());
    if (port_ == 0) {
        process_.waitForFinished(2000);
        startupError_ = QString("glintext-service did not start (%1): %2")
                            .arg(binary(), QString::fromLocal8Bit(process_.readAllStandardError()));
        return;
    }
    http_.setBase(baseUrl());
}

bool ReferenceService::isRunning() const {
    return port_ != 0 && process_.state() == QProcess::Running;
}

QUrl ReferenceService::baseUrl() const {
    return QUrl(QString("http://127.0.0.1:%1/").arg(port_));
}

QString ReferenceService::log() {
    stderr_ += process_.readAllStandardError();
    return QString::fromUtf8(stderr_);
}

void ReferenceService::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    stderr_ += process_.readAllStandardError();
}

void ReferenceService::control(const HttpTestClient::Result& result, const char* what) {
    if (result.status != 200)
        ADD_FAILURE() << "test control " << what << " failed: HTTP " << result.status << " "
                      << result.body.toStdString();
}

ReferenceService::Account ReferenceService::createAccount(const QString& email,
                                                          const QString& tier) {
    const auto result = http_.post("/test/accounts", {{"email", email}, {"tier", tier}});
    control(result, "accounts");
    const QJsonObject account = result.json();
    return {account.value("token").toString(), account.value("email").toString(),
            account.value("tier").toString()};
}

QList<QJsonObject> ReferenceService::received(const QString& path) {
    const auto result = http_.get("/test/received?path=" + QUrl::toPercentEncoding(path));
    control(result, "received");
    QList<QJsonObject> list;
    for (const QJsonValue& entry : result.json().value("requests").toArray())
        list << entry.toObject();
    return list;
}

void ReferenceService::clearReceived() {
    control(http_.send({"DELETE", "/test/received"}), "clear received");
}

void ReferenceService::queueAnswer(const QString& path, int status, const QJsonValue& body,
                                   int delayMs) {
    QJsonObject answer{{"path", path}, {"status", status}, {"delayMs", delayMs}};
    if (!body.isNull() && !body.isUndefined())
        answer["body"] = body;
    control(http_.post("/test/answers", answer), "answers");
}

void ReferenceService::queueDelay(const QString& path, int delayMs) {
    control(http_.post("/test/answers", {{"path", path}, {"delayMs", delayMs}}), "delay");
}

void ReferenceService::advanceClock(qint64 seconds) {
    control(http_.post("/test/clock", {{"advanceSeconds", seconds}}), "clock");
}

void ReferenceService::setAppcastItems(const QJsonArray& items) {
    control(
        http_.send({"PUT", "/test/appcast", QJsonDocument(QJsonObject{{"items", items}}).toJson()}),
        "appcast");
}

QList<QJsonObject> ReferenceService::reports(const QString& kind) {
    const auto result = http_.get("/test/reports?kind=" + QUrl::toPercentEncoding(kind));
    control(result, "reports");
    QList<QJsonObject> list;
    for (const QJsonValue& entry : result.json().value("reports").toArray())
        list << entry.toObject();
    return list;
}
