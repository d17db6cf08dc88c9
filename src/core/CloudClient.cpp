#include "core/CloudClient.h"

#include "core/CloudConfig.h"
#include "core/CloudJson.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>

#include <QCoroNetworkReply>

namespace {

// Errors of the connection itself (refused, reset, time-out, cancelled, TLS, proxy): the
// answer, if one began, is not to be trusted.
bool isTransportError(QNetworkReply::NetworkError error) {
    return error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

} // namespace

CloudClient::Failure CloudClient::Response::failure() const {
    if (status == 0)
        return transportError == QNetworkReply::NoError ? Failure::Invalid : Failure::Transport;
    if (status == 401)
        return Failure::Unauthorized;
    return succeeded() ? Failure::None : Failure::Server;
}

CloudClient::CloudClient(QNetworkAccessManager& network, QUrl baseUrl)
    : m_network(network), m_baseUrl(std::move(baseUrl)) {}

QUrl CloudClient::apiUrl(const QString& path) const {
    return CloudConfig::appendingPath(CloudConfig::appendingPath(m_baseUrl, QStringLiteral("api")),
                                      path);
}

QUrl CloudClient::pageUrl(const QString& path) const {
    return CloudConfig::appendingPath(m_baseUrl, path);
}

QUrl CloudClient::absoluteUrl(const QString& absolutePath) const {
    return m_baseUrl.resolved(QUrl(absolutePath));
}

// Plain functions, not coroutines: g++ 12 destroys an argument object built inside a co_await
// expression twice (`co_await send({...})`), so the request is built outside any co_await.
QCoro::Task<CloudClient::Response> CloudClient::get(const QString& path, const QString& token) {
    return send({"GET", apiUrl(path), std::nullopt, token});
}

QCoro::Task<CloudClient::Response> CloudClient::post(const QString& path, const QJsonObject& body,
                                                     const QString& token) {
    return send({"POST", apiUrl(path), body, token});
}

QCoro::Task<CloudClient::Response> CloudClient::send(Request request) {
    QNetworkReply* const reply = start(request);
    co_await reply;
    // Nothing of this object is touched after the wait: the client may be gone by now.
    const Response response = read(reply);
    reply->deleteLater();
    co_return response;
}

QNetworkReply* CloudClient::start(const Request& request) {
    QNetworkRequest http(request.url);
    http.setTransferTimeout(int(request.timeout.count()));
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                      QNetworkRequest::SameOriginRedirectPolicy);
    if (!request.token.isEmpty())
        http.setRawHeader("Authorization", "Bearer " + request.token.toUtf8());
    if (!request.body)
        return m_network.sendCustomRequest(http, request.method);
    http.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    return m_network.sendCustomRequest(http, request.method, CloudJson::serialize(*request.body));
}

CloudClient::Response CloudClient::read(QNetworkReply* reply) {
    Response response;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (isTransportError(reply->error()) || !status.isValid()) {
        response.transportError = reply->error();
        return response;
    }
    response.status = status.toInt();
    response.body = CloudJson::parseObject(reply->readAll());
    return response;
}
