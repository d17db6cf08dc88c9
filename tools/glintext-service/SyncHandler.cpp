#include "SyncHandler.h"

#include "BearerAuth.h"
#include "JsonRules.h"
#include "ServiceClock.h"
#include "ServiceRouter.h"
#include "ServiceStore.h"

#include <QJsonObject>

#include <cmath>

namespace {

const QString documentPath = QStringLiteral("/api/sync/glintext");

// A JSON number that is a whole, non-negative version.
std::optional<qint64> versionMember(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < 0 || number > 9e15 || std::floor(number) != number)
        return std::nullopt;
    return qint64(number);
}

} // namespace

SyncHandler::SyncHandler(ServiceStore& store, ServiceClock& clock, BearerAuth& auth)
    : store_(store), clock_(clock), auth_(auth) {}

void SyncHandler::addRoutes(ServiceRouter& router) {
    router.add("GET", documentPath, [this](const ServiceRequest& request) {
        return ServiceRouter::ready(download(request));
    });
    router.add("PUT", documentPath, [this](const ServiceRequest& request) {
        return ServiceRouter::ready(upload(request));
    });
}

ServiceReply SyncHandler::download(const ServiceRequest& request) {
    const std::optional<ServiceStore::Account> account = auth_.account(request);
    if (!account)
        return BearerAuth::unauthorized();
    const std::optional<ServiceStore::SyncDocument> document = store_.syncDocument(account->id);
    if (!document)
        return ServiceReply::json({{"version", 0}});
    return ServiceReply::json(
        {{"version", document->version}, {"blob", QString::fromUtf8(document->blob)}});
}

ServiceReply SyncHandler::upload(const ServiceRequest& request) {
    const std::optional<ServiceStore::Account> account = auth_.account(request);
    if (!account)
        return BearerAuth::unauthorized();
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceReply::error(400, "invalid_json");
    const QJsonValue blob = body->value("blob");
    const QJsonValue deviceId = body->value("deviceId");
    const std::optional<qint64> baseVersion = versionMember(body->value("baseVersion"));
    if (!blob.isString() || !deviceId.isString() || !baseVersion ||
        !JsonRules::isPlainText(deviceId.toString()))
        return ServiceReply::error(400, "invalid_request");

    const std::optional<qint64> version = store_.replaceSyncDocument(
        account->id, *baseVersion, blob.toString().toUtf8(), deviceId.toString(), clock_.now());
    if (!version) {
        const std::optional<ServiceStore::SyncDocument> current = store_.syncDocument(account->id);
        return ServiceReply::json(
            {{"error", "conflict"}, {"version", current ? current->version : 0}}, 409);
    }
    return ServiceReply::json({{"version", *version}});
}
