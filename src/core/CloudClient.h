#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QNetworkReply>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <chrono>
#include <optional>

class QNetworkAccessManager;

// Requests to the service, under the conventions every cloud client shares (the account, the
// high-accuracy reader, settings sync, the reporters):
//  - addresses: the base URL, then "api", then the endpoint's path, each appended as one
//    component string ("app/token" is two segments); the reporters use absolute paths;
//  - "Authorization: Bearer <token>" on every request that has a token;
//  - a body is a compact JSON object sent as "Content-Type: application/json";
//  - 60 seconds without progress ends a request (callers may choose less);
//  - no header of our own beyond these: no version, device or user header;
//  - an answer's body is read leniently (see CloudJson); success is a status of 200 to 299;
//  - redirects are followed only within the service's origin, so a token never leaves it;
//  - nothing is retried.
// Callers map statuses themselves; failure() is the account's mapping. GUI thread.
class CloudClient {
public:
    static constexpr std::chrono::milliseconds defaultTimeout{60000};

    struct Request {
        QByteArray method = "GET"; // GET, POST, PUT
        QUrl url;
        std::optional<QJsonObject> body;
        QString token; // none when empty
        std::chrono::milliseconds timeout = defaultTimeout;
    };

    // How a request ended, as the account reads it.
    enum class Failure {
        None,         // status 200-299
        Unauthorized, // status 401: the token was rejected
        Server,       // any other status
        Invalid,      // an answer that is not HTTP
        Transport,    // no answer: no connection, time-out, cancelled, broken off
    };

    struct Response {
        int status = 0; // the HTTP status; 0 when no HTTP answer came
        QNetworkReply::NetworkError transportError = QNetworkReply::NoError;
        QJsonObject body; // the empty object unless the answer was a JSON object

        bool succeeded() const { return status >= 200 && status <= 299; }
        Failure failure() const;
    };

    CloudClient(QNetworkAccessManager& network, QUrl baseUrl);

    const QUrl& baseUrl() const { return m_baseUrl; }
    // Base URL + "api" + `path`: the application-programming endpoints.
    QUrl apiUrl(const QString& path) const;
    // Base URL + `path`: pages outside "api", such as the browser's sign-in page.
    QUrl pageUrl(const QString& path) const;
    // `absolutePath` ("/api/crash") on the service's host.
    QUrl absoluteUrl(const QString& absolutePath) const;

    QCoro::Task<Response> send(Request request);
    QCoro::Task<Response> get(const QString& path, const QString& token);
    QCoro::Task<Response> post(const QString& path, const QJsonObject& body,
                               const QString& token = {});

private:
    QNetworkReply* start(const Request& request);
    static Response read(QNetworkReply* reply);

    QNetworkAccessManager& m_network;
    QUrl m_baseUrl;
};
