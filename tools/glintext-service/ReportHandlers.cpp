#include "ReportHandlers.h"

#include "BearerAuth.h"
#include "JsonRules.h"
#include "ServiceClock.h"
#include "ServiceRouter.h"
#include "ServiceStore.h"

#include <QJsonArray>
#include <QJsonDocument>

using JsonRules::Kind;

ReportHandlers::ReportHandlers(ServiceStore& store, ServiceClock& clock, BearerAuth& auth)
    : store_(store), clock_(clock), auth_(auth) {}

void ReportHandlers::addRoutes(ServiceRouter& router) {
    auto bind = [this](ServiceReply (ReportHandlers::*handler)(const ServiceRequest&)) {
        return [this, handler](const ServiceRequest& request) {
            return ServiceRouter::ready((this->*handler)(request));
        };
    };
    router.add("POST", "/api/crash", bind(&ReportHandlers::crash));
    router.add("POST", "/api/testlog", bind(&ReportHandlers::testLog));
    router.add("POST", "/api/improve", bind(&ReportHandlers::improve));
    router.add("POST", "/api/improve/sample", bind(&ReportHandlers::sample));
}

ServiceReply ReportHandlers::crash(const ServiceRequest& request) {
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceReply::error(400, "invalid_json");
    // What the application itself knows is required; what the crash record supplies may
    // be missing on a platform that cannot collect it.
    const QString violation =
        JsonRules::firstViolation(*body, {{"type", Kind::String, true, "crash"},
                                          {"app", Kind::String, true, "glintext"},
                                          {"installID", Kind::String},
                                          {"appVersion", Kind::String},
                                          {"build", Kind::String},
                                          {"osVersion", Kind::String, false},
                                          {"arch", Kind::String, false},
                                          {"callStack", Kind::String, false},
                                          {"signal", Kind::Number, false},
                                          {"exceptionType", Kind::Number, false},
                                          {"exceptionCode", Kind::Number, false},
                                          {"terminationReason", Kind::String, false}});
    if (!violation.isEmpty())
        return invalidMember(violation);
    return keep("crash", *body, std::nullopt);
}

ServiceReply ReportHandlers::testLog(const ServiceRequest& request) {
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceReply::error(400, "invalid_json");
    const QString violation =
        JsonRules::firstViolation(*body, {{"type", Kind::String, true, "testlog"},
                                          {"app", Kind::String, true, "glintext"},
                                          {"installID", Kind::String},
                                          {"appVersion", Kind::String},
                                          {"build", Kind::String},
                                          {"osVersion", Kind::String},
                                          {"log", Kind::String}});
    if (!violation.isEmpty())
        return invalidMember(violation);
    return keep("testlog", *body, std::nullopt);
}

ServiceReply ReportHandlers::improve(const ServiceRequest& request) {
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceReply::error(400, "invalid_json");
    QString violation = JsonRules::firstViolation(*body, {{"app", Kind::String, true, "glintext"},
                                                          {"installID", Kind::String},
                                                          {"appVersion", Kind::String},
                                                          {"build", Kind::String},
                                                          {"os", Kind::String},
                                                          {"arch", Kind::String},
                                                          {"locale", Kind::String},
                                                          {"events", Kind::Array}});
    if (violation.isEmpty())
        violation = eventsViolation(body->value("events"));
    if (!violation.isEmpty())
        return invalidMember(violation);
    // The token is optional here: a batch without one, or with a stale one, is anonymous.
    const std::optional<ServiceStore::Account> account = auth_.account(request);
    return keep("improve", *body, account ? std::optional(account->id) : std::nullopt);
}

QString ReportHandlers::eventsViolation(const QJsonValue& events) {
    const QJsonArray list = events.toArray();
    if (list.size() > maxEventsPerBatch)
        return "events";
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString at = QString("events[%1]").arg(i);
        if (!list[i].isObject())
            return at;
        const QJsonObject event = list[i].toObject();
        const QString member = JsonRules::firstViolation(
            event, {{"t", Kind::Number}, {"n", Kind::String}, {"p", Kind::Object}});
        if (!member.isEmpty())
            return at + "." + member;
        const QJsonObject properties = event.value("p").toObject();
        for (auto it = properties.begin(); it != properties.end(); ++it) {
            if (!JsonRules::isScalar(it.value()))
                return at + ".p." + it.key();
        }
    }
    return {};
}

ServiceReply ReportHandlers::sample(const ServiceRequest& request) {
    const std::optional<ServiceStore::Account> account = auth_.account(request);
    if (!account)
        return BearerAuth::unauthorized();
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceReply::error(400, "invalid_json");
    QString violation = JsonRules::firstViolation(*body, {{"app", Kind::String, true, "glintext"},
                                                          {"installID", Kind::String},
                                                          {"appVersion", Kind::String},
                                                          {"os", Kind::String},
                                                          {"localText", Kind::String},
                                                          {"cloudText", Kind::String},
                                                          {"coverage", Kind::Number},
                                                          {"accepted", Kind::Bool},
                                                          {"vertical", Kind::Bool, false},
                                                          {"regionW", Kind::Number, false},
                                                          {"regionH", Kind::Number, false},
                                                          {"scale", Kind::Number, false},
                                                          {"langHint", Kind::String, false}});
    for (auto it = body->begin(); violation.isEmpty() && it != body->end(); ++it) {
        if (!JsonRules::isScalar(it.value()))
            violation = it.key();
    }
    if (!violation.isEmpty())
        return invalidMember(violation);
    return keep("sample", *body, account->id);
}

ServiceReply ReportHandlers::keep(const QString& kind, const QJsonObject& body,
                                  std::optional<qint64> accountId) {
    store_.addReport(kind, accountId, QJsonDocument(body).toJson(QJsonDocument::Compact),
                     clock_.now());
    return ServiceReply::json({});
}

ServiceReply ReportHandlers::invalidMember(const QString& member) {
    return ServiceReply::json({{"error", "invalid_member"}, {"member", member}}, 400);
}
