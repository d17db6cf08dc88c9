#include "TestControlHandlers.h"

#include "AppcastHandler.h"
#include "JsonRules.h"
#include "Pkce.h"
#include "ServiceClock.h"
#include "ServiceRouter.h"
#include "ServiceStore.h"

#include <QJsonArray>
#include <QJsonDocument>

using JsonRules::Kind;

namespace {

QJsonObject describe(const ServiceStore::ReceivedRequest& request) {
    QJsonObject entry{{"id", request.id},
                      {"method", request.method},
                      {"path", request.path},
                      {"query", request.query},
                      {"contentType", request.contentType},
                      {"auth", request.auth},
                      {"body", QString::fromUtf8(request.body)}};
    if (!request.accountEmail.isEmpty())
        entry["email"] = request.accountEmail;
    if (request.status)
        entry["status"] = *request.status;
    const QJsonDocument json = QJsonDocument::fromJson(request.body);
    if (json.isObject())
        entry["json"] = json.object();
    else if (json.isArray())
        entry["json"] = json.array();
    return entry;
}

ServiceReply invalid(const QString& member) {
    return ServiceReply::json({{"error", "invalid_member"}, {"member", member}}, 400);
}

} // namespace

TestControlHandlers::TestControlHandlers(ServiceStore& store, ServiceClock& clock,
                                         AppcastHandler& appcast)
    : store_(store), clock_(clock), appcast_(appcast) {}

void TestControlHandlers::addRoutes(ServiceRouter& router) {
    auto bind = [this](ServiceReply (TestControlHandlers::*handler)(const ServiceRequest&)) {
        return [this, handler](const ServiceRequest& request) {
            return ServiceRouter::ready((this->*handler)(request));
        };
    };
    router.add("GET", "/test/received", bind(&TestControlHandlers::received));
    router.add("DELETE", "/test/received", bind(&TestControlHandlers::clearReceived));
    router.add("POST", "/test/answers", bind(&TestControlHandlers::queueAnswer));
    router.add("DELETE", "/test/answers", bind(&TestControlHandlers::clearAnswers));
    router.add("POST", "/test/accounts", bind(&TestControlHandlers::createAccount));
    router.add("POST", "/test/clock", bind(&TestControlHandlers::advanceClock));
    router.add("PUT", "/test/appcast", bind(&TestControlHandlers::setAppcast));
    router.add("GET", "/test/reports", bind(&TestControlHandlers::reports));
}

ServiceReply TestControlHandlers::received(const ServiceRequest& request) {
    QJsonArray list;
    const QString path = request.query.queryItemValue("path", QUrl::FullyDecoded);
    for (const ServiceStore::ReceivedRequest& entry : store_.received(path))
        list.append(describe(entry));
    return ServiceReply::json({{"requests", list}});
}

ServiceReply TestControlHandlers::clearReceived(const ServiceRequest&) {
    store_.clearReceived();
    return ServiceReply::json({});
}

ServiceReply TestControlHandlers::queueAnswer(const ServiceRequest& request) {
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceReply::error(400, "invalid_json");
    const QString violation =
        JsonRules::firstViolation(*body, {{"path", Kind::String},
                                          {"status", Kind::Number, false},
                                          {"delayMs", Kind::Number, false},
                                          {"contentType", Kind::String, false}});
    if (!violation.isEmpty())
        return invalid(violation);
    ServiceStore::CannedAnswer answer;
    answer.delayMs = body->value("delayMs").toInt(0);
    if (body->contains("status")) {
        answer.status = body->value("status").toInt();
        const QJsonValue content = body->value("body");
        if (content.isString()) {
            answer.body = content.toString().toUtf8();
            answer.contentType = "text/plain; charset=utf-8";
        } else if (!content.isUndefined()) {
            // Any JSON value, numbers and null included: serialised inside an array, unwrapped.
            const QByteArray wrapped =
                QJsonDocument(QJsonArray{content}).toJson(QJsonDocument::Compact);
            answer.body = wrapped.mid(1, wrapped.size() - 2);
            answer.contentType = "application/json";
        }
    }
    answer.contentType =
        body->value("contentType").toString(QString::fromUtf8(answer.contentType)).toUtf8();
    const QString path = body->value("path").toString();
    if (!path.startsWith('/') || ServiceRouter::isTestControlPath(path))
        return invalid("path");
    if ((answer.status && (*answer.status < 100 || *answer.status > 599)))
        return invalid("status");
    if (answer.delayMs < 0 || (!answer.status && answer.delayMs == 0))
        return invalid("delayMs");
    store_.queueCannedAnswer(path, answer);
    return ServiceReply::json({});
}

ServiceReply TestControlHandlers::clearAnswers(const ServiceRequest&) {
    store_.clearCannedAnswers();
    return ServiceReply::json({});
}

ServiceReply TestControlHandlers::createAccount(const ServiceRequest& request) {
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceReply::error(400, "invalid_json");
    const QString violation = JsonRules::firstViolation(*body, {{"email", Kind::String},
                                                                {"tier", Kind::String, false},
                                                                {"deviceId", Kind::String, false}});
    if (!violation.isEmpty())
        return invalid(violation);
    const QString token = Pkce::randomUrlBase64(32);
    const ServiceStore::Account account = store_.addAccountWithToken(
        body->value("email").toString().trimmed().toLower(), body->value("tier").toString("free"),
        Pkce::storageHash(token), body->value("deviceId").toString("TEST-DEVICE"), clock_.now());
    return ServiceReply::json({{"token", token}, {"email", account.email}, {"tier", account.tier}});
}

ServiceReply TestControlHandlers::advanceClock(const ServiceRequest& request) {
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body || !body->value("advanceSeconds").isDouble())
        return invalid("advanceSeconds");
    const qint64 offset = clock_.advance(qint64(body->value("advanceSeconds").toDouble()));
    return ServiceReply::json({{"offsetSeconds", offset}});
}

ServiceReply TestControlHandlers::setAppcast(const ServiceRequest& request) {
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceReply::error(400, "invalid_json");
    QString error;
    const auto items = AppcastFeed::parse(*body, &error);
    if (!items)
        return ServiceReply::json({{"error", "invalid_items"}, {"detail", error}}, 400);
    appcast_.setItems(*items);
    return ServiceReply::json({});
}

ServiceReply TestControlHandlers::reports(const ServiceRequest& request) {
    QJsonArray list;
    const QString kind = request.query.queryItemValue("kind", QUrl::FullyDecoded);
    for (const QByteArray& body : store_.reports(kind))
        list.append(QJsonDocument::fromJson(body).object());
    return ServiceReply::json({{"reports", list}});
}
