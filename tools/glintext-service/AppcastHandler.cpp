#include "AppcastHandler.h"

#include "ServiceRouter.h"
#include "ServiceStore.h"

#include <QJsonDocument>

namespace {
const QString itemsKey = QStringLiteral("appcast_items");
}

AppcastHandler::AppcastHandler(ServiceStore& store) : store_(store) {}

void AppcastHandler::addRoutes(ServiceRouter& router) {
    router.add("GET", "/appcast.xml", [this](const ServiceRequest& request) {
        return ServiceRouter::ready(feed(request));
    });
}

ServiceReply AppcastHandler::feed(const ServiceRequest& request) {
    const QString host = QString::fromLatin1(request.header("Host"));
    ServiceReply reply;
    reply.contentType = "application/rss+xml; charset=utf-8";
    reply.body = AppcastFeed::render(items(), host.isEmpty() ? QString() : "//" + host + "/");
    return reply;
}

QList<AppcastFeed::Item> AppcastHandler::items() {
    const std::optional<QString> stored = store_.meta(itemsKey);
    if (!stored)
        return {};
    QString error;
    return AppcastFeed::parse(QJsonDocument::fromJson(stored->toUtf8()).array(), &error)
        .value_or(QList<AppcastFeed::Item>());
}

void AppcastHandler::setItems(const QList<AppcastFeed::Item>& items) {
    store_.setMeta(itemsKey,
                   QString::fromUtf8(
                       QJsonDocument(AppcastFeed::toJson(items)).toJson(QJsonDocument::Compact)));
}
