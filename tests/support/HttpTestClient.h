#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPair>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>

#include <optional>

// Blocking HTTP for tests: each call runs the event loop until its answer arrives (or the
// time-out passes). Redirects are not followed, so a test sees them.
class HttpTestClient {
public:
    struct Result {
        int status = 0; // 0: no HTTP answer (see error)
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;

        QJsonObject json() const; // the body as an object; empty when it is not one
        QByteArray header(const QByteArray& name) const;
    };
    struct Request {
        Request(QByteArray method = "GET", QString path = {}, QByteArray body = {},
                QString token = {}, QByteArray contentType = "application/json")
            : method(std::move(method)), path(std::move(path)), body(std::move(body)),
              token(std::move(token)), contentType(std::move(contentType)) {}

        QByteArray method;
        QString path;
        QByteArray body;
        QString token; // sent as "Authorization: Bearer <token>" when not empty
        QByteArray contentType;
    };

    explicit HttpTestClient(QUrl base = {});

    void setBase(const QUrl& base) { base_ = base; }
    void setSslConfiguration(const QSslConfiguration& configuration);
    void setTimeoutMs(int ms) { timeoutMs_ = ms; }

    Result get(const QString& path, const QString& token = {});
    Result post(const QString& path, const QJsonObject& body, const QString& token = {});
    Result put(const QString& path, const QJsonObject& body, const QString& token = {});
    Result send(const Request& request);
    // Sends every request at once and waits for all answers, in the order given.
    QList<Result> sendAll(const QList<Request>& requests);

    QUrl url(const QString& path) const;

private:
    QNetworkReply* start(const Request& request);
    static Result finish(QNetworkReply* reply);

    QUrl base_;
    QNetworkAccessManager manager_;
    std::optional<QSslConfiguration> ssl_;
    int timeoutMs_ = 60000;
};
