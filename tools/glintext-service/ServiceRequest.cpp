#include "ServiceRequest.h"

#include <QHttpServerRequest>
#include <QJsonDocument>
#include <QJsonParseError>

namespace {

QByteArray methodName(QHttpServerRequest::Method method) {
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return "GET";
    case QHttpServerRequest::Method::Put:
        return "PUT";
    case QHttpServerRequest::Method::Delete:
        return "DELETE";
    case QHttpServerRequest::Method::Post:
        return "POST";
    case QHttpServerRequest::Method::Head:
        return "HEAD";
    case QHttpServerRequest::Method::Options:
        return "OPTIONS";
    case QHttpServerRequest::Method::Patch:
        return "PATCH";
    default:
        return "OTHER";
    }
}

} // namespace

ServiceRequest ServiceRequest::from(const QHttpServerRequest& request) {
    ServiceRequest copy;
    copy.method = methodName(request.method());
    copy.path = request.url().path(QUrl::FullyDecoded);
    copy.encodedPath = request.url().path(QUrl::FullyEncoded);
    copy.query = request.query();
    copy.headers = request.headers();
    copy.body = request.body();
    copy.peer = request.remoteAddress();
    return copy;
}

QByteArray ServiceRequest::header(QByteArrayView name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

std::optional<QString> ServiceRequest::bearerToken() const {
    const QByteArray value = header("Authorization").trimmed();
    static constexpr QByteArrayView scheme = "Bearer ";
    if (value.size() <= scheme.size() ||
        value.first(scheme.size()).compare(scheme, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QByteArray token = value.mid(scheme.size()).trimmed();
    if (token.isEmpty())
        return std::nullopt;
    return QString::fromLatin1(token);
}

std::optional<QJsonObject> ServiceRequest::jsonObject() const {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

QUrlQuery ServiceRequest::formFields() const {
    // Forms encode spaces as '+', which QUrlQuery leaves alone; a literal '+' arrives as %2B.
    QByteArray encoded = body;
    encoded.replace('+', ' ');
    return QUrlQuery(QString::fromUtf8(encoded));
}
