#include "AccountHandlers.h"

#include "BearerAuth.h"
#include "JsonRules.h"
#include "Pkce.h"
#include "ServiceClock.h"
#include "ServiceRouter.h"
#include "ServiceStore.h"
#include "SignInPage.h"

#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {

// The link's own fields; what is wrong with them, or nothing.
QString linkProblem(const SignInPage::Fields& fields) {
    if (fields.app != "glintext")
        return "The link does not come from Glintext.";
    if (!Pkce::isValidChallenge(fields.challenge))
        return "The link's security code is missing or damaged.";
    if (fields.state.isEmpty() || fields.state.size() > 512)
        return "The link's sign-in reference is missing or damaged.";
    return {};
}

bool isPlausibleEmail(const QString& email) {
    static const QRegularExpression pattern(
        R"(^[^@\s\x00-\x1f]+@[^@\s\x00-\x1f.]+(\.[^@\s\x00-\x1f.]+)+$)");
    return email.size() <= 254 && pattern.match(email).hasMatch();
}

std::optional<QString> stringMember(const QJsonObject& object, const char* name) {
    const QJsonValue value = object.value(QLatin1String(name));
    if (!value.isString() || value.toString().isEmpty())
        return std::nullopt;
    return value.toString();
}

QString problemCode(ServiceStore::CodeProblem problem) {
    switch (problem) {
    case ServiceStore::CodeProblem::Used:
        return "code_used";
    case ServiceStore::CodeProblem::Expired:
        return "code_expired";
    case ServiceStore::CodeProblem::VerifierMismatch:
        return "verifier_mismatch";
    case ServiceStore::CodeProblem::Unknown:
        break;
    }
    return "invalid_code";
}

} // namespace

AccountHandlers::AccountHandlers(ServiceStore& store, ServiceClock& clock, BearerAuth& auth,
                                 QString callbackScheme)
    : store_(store), clock_(clock), auth_(auth), callbackScheme_(std::move(callbackScheme)) {}

void AccountHandlers::addRoutes(ServiceRouter& router) {
    auto bind = [this](ServiceReply (AccountHandlers::*handler)(const ServiceRequest&)) {
        return [this, handler](const ServiceRequest& request) {
            return ServiceRouter::ready((this->*handler)(request));
        };
    };
    router.add("GET", "/app/connect", bind(&AccountHandlers::connectPage));
    router.add("POST", "/app/connect", bind(&AccountHandlers::connectSubmit));
    router.add("POST", "/api/app/token", bind(&AccountHandlers::exchange));
    router.add("GET", "/api/me", bind(&AccountHandlers::me));
    router.add("POST", "/api/app/logout", bind(&AccountHandlers::logout));
}

ServiceReply AccountHandlers::connectPage(const ServiceRequest& request) {
    const SignInPage::Fields fields{request.query.queryItemValue("app", QUrl::FullyDecoded),
                                    request.query.queryItemValue("challenge", QUrl::FullyDecoded),
                                    request.query.queryItemValue("state", QUrl::FullyDecoded),
                                    {}};
    if (const QString problem = linkProblem(fields); !problem.isEmpty())
        return ServiceReply::html(SignInPage::brokenLink(problem), 400);
    return ServiceReply::html(SignInPage::form(fields));
}

ServiceReply AccountHandlers::connectSubmit(const ServiceRequest& request) {
    const QUrlQuery form = request.formFields();
    const SignInPage::Fields fields{form.queryItemValue("app", QUrl::FullyDecoded),
                                    form.queryItemValue("challenge", QUrl::FullyDecoded),
                                    form.queryItemValue("state", QUrl::FullyDecoded),
                                    form.queryItemValue("email", QUrl::FullyDecoded).trimmed()};
    if (const QString problem = linkProblem(fields); !problem.isEmpty())
        return ServiceReply::html(SignInPage::brokenLink(problem), 400);
    if (!isPlausibleEmail(fields.email))
        return ServiceReply::html(
            SignInPage::form(fields, "Enter an e-mail address such as name@example.com."), 400);

    const QString code = Pkce::randomUrlBase64(32);
    store_.addSignInCode(Pkce::storageHash(code), fields.challenge, fields.email.toLower(),
                         clock_.now() + codeLifetimeSeconds);
    QUrl callback;
    callback.setScheme(callbackScheme_);
    callback.setHost("auth");
    QUrlQuery query;
    query.addQueryItem("code", code);
    query.addQueryItem("state", QString(QUrl::toPercentEncoding(fields.state)));
    callback.setQuery(query);
    return ServiceReply::redirect(callback, SignInPage::handOver(callback.toString()));
}

ServiceReply AccountHandlers::exchange(const ServiceRequest& request) {
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceReply::error(400, "invalid_json");
    const std::optional<QString> code = stringMember(*body, "code");
    const std::optional<QString> verifier = stringMember(*body, "verifier");
    const std::optional<QString> deviceId = stringMember(*body, "deviceId");
    if (!code || !verifier || !deviceId || deviceId->size() > 128 ||
        !JsonRules::isPlainText(*deviceId))
        return ServiceReply::error(400, "invalid_request");
    if (!Pkce::isValidVerifier(*verifier))
        return ServiceReply::error(400, "verifier_mismatch");

    const QString token = Pkce::randomUrlBase64(32);
    const auto outcome =
        store_.redeemSignInCode(Pkce::storageHash(*code), Pkce::challenge(*verifier),
                                Pkce::storageHash(token), *deviceId, clock_.now());
    if (const auto* problem = std::get_if<ServiceStore::CodeProblem>(&outcome))
        return ServiceReply::error(400, problemCode(*problem));
    const auto& account = std::get<ServiceStore::Account>(outcome);
    return ServiceReply::json({{"token", token}, {"email", account.email}, {"tier", account.tier}});
}

ServiceReply AccountHandlers::me(const ServiceRequest& request) {
    const std::optional<ServiceStore::Account> account = auth_.account(request);
    if (!account)
        return BearerAuth::unauthorized();
    return ServiceReply::json({{"email", account->email}, {"tier", account->tier}});
}

ServiceReply AccountHandlers::logout(const ServiceRequest& request) {
    if (!auth_.account(request))
        return BearerAuth::unauthorized();
    store_.revokeToken(Pkce::storageHash(*request.bearerToken()), clock_.now());
    return ServiceReply::json({});
}
