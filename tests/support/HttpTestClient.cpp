#include "support/HttpTestClient.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkRequest>
#include <QTimer>

QJsonObject HttpTestClient::Result::json() const {
    return QJsonDocument::fromJson(body).object();
}

QByteArray HttpTestClient::Result::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

HttpTestClient::HttpTestClient(QUrl base) : base_(std::move(base)) {
    manager_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

void HttpTestClient::setSslConfiguration(const QSslConfiguration& configuration) {
    ssl_ = configuration;
}

QUrl HttpTestClient::url(const QString& path) const {
    return base_.resolved(QUrl(path));
}

HttpTestClient::Result HttpTestClient::get(const QString& path, const QString& token) {
    return send({"GET", path, {}, token, {}});
}

HttpTestClient::Result HttpTestClient::post(const QString& path, const QJsonObject& body,
                                            const QString& token) {
    return send({"POST", path, QJsonDocument(body).toJson(QJsonDocument::Compact), token});
}

HttpTestClient::Result HttpTestClient::put(const QString& path, const QJsonObject& body,
                                           const QString& token) {
    return send({"PUT", path, QJsonDocument(body).toJson(QJsonDocument::Compact), token});
}

HttpTestClient::Result HttpTestClient::send(const Request& request) {
    return sendAll({request}).first();
}

QList<HttpTestClient::Result> HttpTestClient::sendAll(const QList<Request>& requests) {
    QList<QNetworkReply*> replies;
    for (const Request& request : requests)
        replies << start(request);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs_);
    auto allDone = [&replies] {
        return std::all_of(replies.begin(), replies.end(),
                           [](QNetworkReply* reply) { return reply->isFinished(); });
    };
    for (QNetworkReply* reply : replies) {
        QObject::connect(reply, &QNetworkReply::finished, &loop, [&] {
            if (allDone())
                loop.quit();
        });
    }
    if (!allDone())
        loop.exec();
    QList<Result> results;
    for (QNetworkReply* reply : replies)
        results << finish(reply);
    return results;
}

QNetworkReply* HttpTestClient::start(const Request& request) {
    QNetworkRequest networkRequest(url(request.path));
    if (!request.token.isEmpty())
        networkRequest.setRawHeader("Authorization", "Bearer " + request.token.toUtf8());
    if (!request.body.isEmpty() || request.method == "POST" || request.method == "PUT")
        networkRequest.setHeader(QNetworkRequest::ContentTypeHeader, request.contentType);
    if (ssl_)
        networkRequest.setSslConfiguration(*ssl_);
    return manager_.sendCustomRequest(networkRequest, request.method, request.body);
}

HttpTestClient::Result HttpTestClient::finish(QNetworkReply* reply) {
    Result result;
    if (!reply->isFinished())
        reply->abort();
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.error = reply->error();
    result.body = reply->readAll();
    result.headers = reply->rawHeaderPairs();
    reply->deleteLater();
    return result;
}
