#include "ServiceReply.h"

#include <QJsonDocument>

ServiceReply ServiceReply::json(const QJsonObject& object, int status) {
    ServiceReply reply;
    reply.status = status;
    reply.contentType = "application/json";
    reply.body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return reply;
}

ServiceReply ServiceReply::error(int status, const QString& code) {
    return json(QJsonObject{{"error", code}}, status);
}

ServiceReply ServiceReply::html(const QString& page, int status) {
    ServiceReply reply;
    reply.status = status;
    reply.contentType = "text/html; charset=utf-8";
    reply.body = page.toUtf8();
    // The sign-in page must not be framed by another site or kept by caches.
    reply.headers = {{"Cache-Control", "no-store"},
                     {"X-Frame-Options", "DENY"},
                     {"Content-Security-Policy",
                      "default-src 'none'; style-src 'unsafe-inline'; frame-ancestors 'none'"}};
    return reply;
}

ServiceReply ServiceReply::redirect(const QUrl& target, const QString& page) {
    ServiceReply reply = html(page, 303);
    reply.addHeader("Location", target.toEncoded());
    return reply;
}
