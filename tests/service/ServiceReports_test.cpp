#include "ServiceBackend.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpSocket>

namespace {

QJsonObject crashReport() {
    return {{"type", "crash"},       {"app", "glintext"},  {"installID", "INSTALL-1"},
            {"appVersion", "0.1.0"}, {"build", "7"},       {"osVersion", "Debian 12"},
            {"arch", "x86_64"},      {"callStack", "[]"},  {"signal", 11},
            {"exceptionType", 1},    {"exceptionCode", 0}, {"terminationReason", "SIGSEGV"}};
}

QJsonObject testLog(const QString& log) {
    return {{"type", "testlog"},   {"app", "glintext"}, {"installID", "INSTALL-1"},
            {"appVersion", "dev"}, {"build", "0"},      {"osVersion", "Debian 12"},
            {"log", log}};
}

QJsonObject batch(const QJsonArray& events) {
    return {
        {"app", "glintext"}, {"installID", "INSTALL-1"}, {"appVersion", "?"}, {"build", "?"},
        {"os", "Linux"},     {"arch", "arm64"},          {"locale", "en_US"}, {"events", events}};
}

QJsonObject event(const QJsonObject& properties = {{"chars", 12}, {"engine", "local"}}) {
    return {{"t", 1790000000.5}, {"n", "ocr.result"}, {"p", properties}};
}

QJsonObject sample() {
    return {
        {"app", "glintext"},  {"installID", "INSTALL-1"}, {"appVersion", "?"}, {"os", "Linux"},
        {"localText", "a b"}, {"cloudText", "a b c"},     {"coverage", 0.66},  {"accepted", false},
        {"vertical", false},  {"regionW", 300},           {"regionH", 80},     {"scale", 2},
        {"langHint", "en"}};
}

// A raw HTTP exchange, for what a well-behaved client library will not send.
QByteArray rawExchange(quint16 port, const QByteArray& request, int waitMs = 5000) {
    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", port);
    socket.waitForConnected(5000);
    socket.write(request);
    QByteArray answer;
    while (socket.waitForReadyRead(waitMs))
        answer += socket.readAll();
    return answer;
}

class ServiceReports : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        service = startService(GetParam());
        ASSERT_TRUE(service);
    }
    int post(const QString& path, const QJsonObject& body, const QString& token = {}) {
        return service->http().post(path, body, token).status;
    }

    std::unique_ptr<ReferenceService> service;
};

TEST_P(ServiceReports, ReportsAreCheckedAgainstTheirFormatsAndKept) {
    QJsonObject minimal = crashReport();
    for (const char* optional : {"osVersion", "arch", "callStack", "signal", "exceptionType",
                                 "exceptionCode", "terminationReason"})
        minimal.remove(optional);
    EXPECT_EQ(post("/api/crash", crashReport()), 200);
    EXPECT_EQ(post("/api/crash", minimal), 200);
    QJsonObject wrongType = crashReport();
    wrongType["type"] = "testlog";
    QJsonObject textSignal = crashReport();
    textSignal["signal"] = "11";
    const auto refused = service->http().post("/api/crash", textSignal);
    EXPECT_EQ(refused.status, 400);
    EXPECT_EQ(refused.json(), (QJsonObject{{"error", "invalid_member"}, {"member", "signal"}}));
    EXPECT_EQ(post("/api/crash", wrongType), 400);
    EXPECT_EQ(service->reports("crash"), (QList<QJsonObject>{crashReport(), minimal}));

    EXPECT_EQ(post("/api/testlog", testLog("== app log (DebugLog) ==\n")), 200);
    QJsonObject noLog = testLog("");
    noLog.remove("log");
    EXPECT_EQ(post("/api/testlog", noLog), 400);
    EXPECT_EQ(service->reports("testlog").size(), 1);
}

TEST_P(ServiceReports, BatchesMayBeAnonymousAndSamplesMayNot) {
    const QString token = service->createAccount("stats@example.org").token;
    QJsonArray full;
    for (int i = 0; i < 200; ++i)
        full.append(event());
    EXPECT_EQ(post("/api/improve", batch(full)), 200);
    EXPECT_EQ(post("/api/improve", batch({event()}), token), 200);
    EXPECT_EQ(post("/api/improve", batch({event()}), "stale-token"), 200);
    full.append(event());
    EXPECT_EQ(post("/api/improve", batch(full)), 400);
    QJsonObject untimed = event();
    untimed.remove("t");
    const auto refused = service->http().post("/api/improve", batch({event(), untimed}));
    EXPECT_EQ(refused.json().value("member"), "events[1].t");
    EXPECT_EQ(post("/api/improve", batch({event({{"nested", QJsonObject{}}})})), 400);
    EXPECT_EQ(service->reports("improve").size(), 3);

    EXPECT_EQ(post("/api/improve/sample", sample()), 401);
    EXPECT_EQ(post("/api/improve/sample", sample(), token), 200);
    QJsonObject numericText = sample();
    numericText["cloudText"] = 3;
    EXPECT_EQ(post("/api/improve/sample", numericText, token), 400);
    EXPECT_EQ(service->reports("sample"), QList<QJsonObject>{sample()});
}

TEST_P(ServiceReports, OversizedAndMalformedBodiesAreRefusedWithoutHarm) {
    for (const QString path : {"/api/crash", "/api/testlog", "/api/improve", "/api/app/token"}) {
        const auto result = service->http().send({"POST", path, "{\"app\": glintext}"});
        EXPECT_EQ(result.status, 400) << path.toStdString();
        EXPECT_EQ(result.json().value("error"), "invalid_json");
    }
    // Just under the limit is fine; over it the body is never held.
    const int overhead = int(QJsonDocument(testLog("")).toJson(QJsonDocument::Compact).size());
    EXPECT_EQ(post("/api/testlog", testLog(QString(20 * 1024 * 1024 - overhead, 'a'))), 200);
    const auto tooBig = service->http().post(
        "/api/testlog", testLog(QString(20 * 1024 * 1024 - overhead + 1, 'a')));
    EXPECT_EQ(tooBig.status, 413);
    EXPECT_EQ(tooBig.json().value("error"), "payload_too_large");

    EXPECT_TRUE(rawExchange(service->port(),
                            "POST /api/crash HTTP/1.1\r\nHost: x\r\n"
                            "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n")
                    .startsWith("HTTP/1.1 411"));
    EXPECT_TRUE(rawExchange(service->port(),
                            "GET /api/me HTTP/1.1\r\nX-Big: " + QByteArray(70000, 'a') + "\r\n\r\n")
                    .startsWith("HTTP/1.1 431"));
    EXPECT_TRUE(
        rawExchange(service->port(), "POST /api/crash HTTP/1.1\r\nContent-Length: -5\r\n\r\n")
            .startsWith("HTTP/1.1 400"));
    rawExchange(service->port(), QByteArray("\x16\x03\x01\x00\xff garbage\r\n\r\n\0\0", 24), 300);
    rawExchange(service->port(), "GET / HTTP/9.9\r\nContent-Length: 3\r\n\r\nabcGET", 300);
    EXPECT_EQ(service->http().get("/appcast.xml").status, 200);
    EXPECT_EQ(service->reports("testlog").size(), 1);
}

INSTANTIATE_ON_BOTH_BACKENDS(ServiceReports);

} // namespace
