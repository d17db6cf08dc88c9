#pragma once

#include "support/HttpTestClient.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

// The real glintext-service binary on a free loopback port, with its test controls, for
// tests of everything that talks to the service. By default it keeps its data in a
// temporary SQLite file; `Options::database` points it at another (PostgreSQL) database.
//
//   ReferenceService service;
//   auto account = service.createAccount("me@example.org");
//   service.queueAnswer("/api/ocr", 500, QJsonObject{{"error", "boom"}});
//   ... point the client at service.baseUrl() ...
//   EXPECT_EQ(service.received("/api/ocr").size(), 1);
class ReferenceService {
public:
    struct Options {
        QString database; // --db; empty: a temporary SQLite file
        int quota = 50;
        QStringList arguments; // more command-line options
        bool testControls = true;
    };
    struct Account {
        QString token;
        QString email;
        QString tier;
    };

    ReferenceService();
    explicit ReferenceService(Options options);
    ~ReferenceService();
    ReferenceService(const ReferenceService&) = delete;
    ReferenceService& operator=(const ReferenceService&) = delete;

    // Whether it started; when not, why (its own message included).
    bool isRunning() const;
    QString startupError() const { return startupError_; }

    QUrl baseUrl() const;
    quint16 port() const { return port_; }
    QString database() const { return database_; }
    // What it wrote to standard error so far: one line per request.
    QString log();
    HttpTestClient& http() { return http_; }
    // Ends the process (as a crash or an operator would).
    void stop();

    // A signed-in account and its bearer token, made without the browser sign-in.
    Account createAccount(const QString& email, const QString& tier = "free");
    // Requests that reached `path` (every path when empty), oldest first, as the test
    // controls describe them: "method", "path", "query", "contentType", "auth" ("none",
    // "valid", "invalid"), "email", "body", "json" (when the body is JSON), "status".
    QList<QJsonObject> received(const QString& path = {});
    void clearReceived();
    // The next request to `path` gets this answer (after `delayMs`), not the real one.
    void queueAnswer(const QString& path, int status, const QJsonValue& body = QJsonValue(),
                     int delayMs = 0);
    // The next request to `path` is answered for real, `delayMs` late.
    void queueDelay(const QString& path, int delayMs);
    void advanceClock(qint64 seconds);
    void setAppcastItems(const QJsonArray& items);
    // Reports of one kind ("crash", "testlog", "improve", "sample") as stored.
    QList<QJsonObject> reports(const QString& kind);

    static QString binary();

private:
    void start();
    void control(const HttpTestClient::Result& result, const char* what);

    Options options_;
    QTemporaryDir dir_;
    QString database_;
    QProcess process_;
    QByteArray stderr_;
    quint16 port_ = 0;
    QString startupError_;
    HttpTestClient http_;
};
