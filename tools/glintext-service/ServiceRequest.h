#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrlQuery>

#include <optional>

class QHttpServerRequest;

// One HTTP request, copied out of the server's parser so that it can outlive the call
// that delivered it (delayed and asynchronous answers).
struct ServiceRequest {
    QByteArray method; // "GET", "POST", ...
    QString path;      // decoded path, "/api/me"
    QString encodedPath;
    QUrlQuery query;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    QHostAddress peer;

    static ServiceRequest from(const QHttpServerRequest& request);

    // Header lookup is case-insensitive; the first occurrence wins.
    QByteArray header(QByteArrayView name) const;
    // The token of an "Authorization: Bearer ..." header, when there is one.
    std::optional<QString> bearerToken() const;
    // The body as a JSON object; nothing when it does not parse or is not an object.
    std::optional<QJsonObject> jsonObject() const;
    // Fields of an application/x-www-form-urlencoded body.
    QUrlQuery formFields() const;
};
