#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

// What the service answers: a status, a body with its content type and extra headers.
struct ServiceReply {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    void addHeader(const QByteArray& name, const QByteArray& value) {
        headers.append({name, value});
    }

    static ServiceReply json(const QJsonObject& object, int status = 200);
    // {"error": code}, the shape every failure of the API has.
    static ServiceReply error(int status, const QString& code);
    static ServiceReply html(const QString& page, int status = 200);
    // 303 to `target`, with a small page for clients that do not follow it.
    static ServiceReply redirect(const QUrl& target, const QString& page);
};
