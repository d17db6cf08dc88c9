#include "ServiceBackend.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QUrlQuery>

namespace {

const QString verifier = "dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk";

QString challengeOf(const QString& text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256)
            .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QString hiddenValue(const QString& page, const QString& name) {
    const QRegularExpression field(QString(R"re(name="%1" value="([^"]*)")re").arg(name));
    QString value = field.match(page).captured(1);
    return value.replace("&quot;", "\"")
        .replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&amp;", "&");
}

QByteArray formBody(const QList<QPair<QString, QString>>& fields) {
    QByteArray body;
    for (const auto& [name, value] : fields)
        body += (body.isEmpty() ? "" : "&") + name.toUtf8() + "=" + QUrl::toPercentEncoding(value);
    return body;
}

class ServiceAccounts : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        service = startService(GetParam());
        ASSERT_TRUE(service);
    }
    HttpTestClient& http() { return service->http(); }

    // What the browser does: open the page, submit the e-mail, follow the redirect.
    QUrl browserSignIn(const QString& challenge, const QString& state, const QString& email) {
        QUrlQuery query{{"app", "glintext"}, {"challenge", challenge}};
        query.addQueryItem("state", QUrl::toPercentEncoding(state));
        const auto page = http().get("/app/connect?" + query.query(QUrl::FullyEncoded));
        EXPECT_EQ(page.status, 200);
        const QString html = QString::fromUtf8(page.body);
        EXPECT_TRUE(html.contains(R"(type="email")"));
        const auto submitted = http().send({"POST",
                                            "/app/connect",
                                            formBody({{"app", hiddenValue(html, "app")},
                                                      {"challenge", hiddenValue(html, "challenge")},
                                                      {"state", hiddenValue(html, "state")},
                                                      {"email", email}}),
                                            {},
                                            "application/x-www-form-urlencoded"});
        EXPECT_EQ(submitted.status, 303);
        return QUrl(QString::fromUtf8(submitted.header("Location")));
    }
    HttpTestClient::Result exchange(const QString& code, const QString& withVerifier = verifier) {
        return http().post("/api/app/token",
                           {{"code", code}, {"verifier", withVerifier}, {"deviceId", "DEVICE-1"}});
    }
    QString codeOf(const QUrl& callback) { return QUrlQuery(callback).queryItemValue("code"); }

    std::unique_ptr<ReferenceService> service;
};

TEST_P(ServiceAccounts, BrowserSignInExchangesOneCodeForOneToken) {
    const QString state = R"(st&=+ "<x>"#%)";
    const QUrl callback = browserSignIn(challengeOf(verifier), state, "  Someone@Example.ORG ");
    EXPECT_EQ(callback.scheme(), "glintext");
    EXPECT_EQ(callback.host(), "auth");
    EXPECT_EQ(QUrlQuery(callback).queryItemValue("state", QUrl::FullyDecoded), state);
    const QString code = codeOf(callback);
    ASSERT_EQ(code.size(), 43);

    const auto wrong = exchange(code, QString(verifier).replace('d', 'e'));
    EXPECT_EQ(wrong.status, 400);
    EXPECT_EQ(wrong.json().value("error"), "verifier_mismatch");

    // A wrong verifier does not spend the code; the right one does, once.
    const auto granted = exchange(code);
    ASSERT_EQ(granted.status, 200) << granted.body.toStdString();
    const QString token = granted.json().value("token").toString();
    EXPECT_EQ(granted.json().value("email"), "someone@example.org");
    EXPECT_EQ(granted.json().value("tier"), "free");
    const auto again = exchange(code);
    EXPECT_EQ(again.status, 400);
    EXPECT_EQ(again.json().value("error"), "code_used");

    const auto me = http().get("/api/me", token);
    EXPECT_EQ(me.status, 200);
    EXPECT_EQ(me.json(), (QJsonObject{{"email", "someone@example.org"}, {"tier", "free"}}));
    const QString log = service->log();
    EXPECT_TRUE(log.contains("GET /api/me 200"));
    EXPECT_FALSE(log.contains(token));
    EXPECT_FALSE(log.contains(code));
}

TEST_P(ServiceAccounts, CodesExpireAfterTenMinutesAndMalformedExchangesAreRefused) {
    const QString early = codeOf(browserSignIn(challengeOf(verifier), "a", "x@example.org"));
    const QString late = codeOf(browserSignIn(challengeOf(verifier), "b", "x@example.org"));
    service->advanceClock(599);
    EXPECT_EQ(exchange(early).status, 200);
    service->advanceClock(2);
    const auto expired = exchange(late);
    EXPECT_EQ(expired.status, 400);
    EXPECT_EQ(expired.json().value("error"), "code_expired");

    EXPECT_EQ(exchange("no-such-code").json().value("error"), "invalid_code");
    const auto missing = http().post("/api/app/token", {{"code", late}, {"verifier", verifier}});
    EXPECT_EQ(missing.status, 400);
    EXPECT_EQ(missing.json().value("error"), "invalid_request");
    const auto numeric =
        http().post("/api/app/token", {{"code", 5}, {"verifier", verifier}, {"deviceId", "D"}});
    EXPECT_EQ(numeric.status, 400);
    const auto garbage = http().send({"POST", "/api/app/token", "{\"code\":"});
    EXPECT_EQ(garbage.status, 400);
    EXPECT_EQ(garbage.json().value("error"), "invalid_json");
}

TEST_P(ServiceAccounts, BrokenLinksAndBadAddressesGetAPageInsteadOfACode) {
    const QString challenge = challengeOf(verifier);
    EXPECT_EQ(http().get("/app/connect?app=glintext&state=s").status, 400);
    EXPECT_EQ(http().get("/app/connect?app=other&state=s&challenge=" + challenge).status, 400);
    EXPECT_EQ(http().get("/app/connect?app=glintext&challenge=" + challenge).status, 400);

    const auto page =
        http().get("/app/connect?app=glintext&state=%3Cscript%3E&challenge=" + challenge);
    EXPECT_FALSE(page.body.contains("<script>"));
    for (const QString email :
         {"", "no-at-sign", "a@b", "two@@example.org", "sp ace@example.org"}) {
        const auto refused = http().send(
            {"POST",
             "/app/connect",
             formBody(
                 {{"app", "glintext"}, {"challenge", challenge}, {"state", "s"}, {"email", email}}),
             {},
             "application/x-www-form-urlencoded"});
        EXPECT_EQ(refused.status, 400) << email.toStdString();
        EXPECT_TRUE(refused.header("Location").isEmpty());
        EXPECT_TRUE(refused.body.contains(R"(type="email")"));
    }
}

TEST_P(ServiceAccounts, EveryBearerEndpointRefusesMissingUnknownAndRevokedTokens) {
    const auto account = service->createAccount("user@example.org");
    const auto other = service->createAccount("user@example.org");
    ASSERT_EQ(http().post("/api/app/logout", {}, account.token).status, 200);
    // Only the token that signed out is revoked.
    EXPECT_EQ(http().get("/api/me", other.token).status, 200);

    const QList<HttpTestClient::Request> calls = {
        {"GET", "/api/me"},
        {"POST", "/api/app/logout", "{}"},
        {"POST", "/api/ocr", R"({"image":""})"},
        {"GET", "/api/sync/glintext"},
        {"PUT", "/api/sync/glintext", R"({"blob":"{}","baseVersion":0,"deviceId":"D"})"},
        {"POST", "/api/improve/sample", "{}"}};
    for (const QString& token : {QString(), QString("unknown-token"), account.token}) {
        for (HttpTestClient::Request call : calls) {
            call.token = token;
            const auto answer = http().send(call);
            EXPECT_EQ(answer.status, 401) << call.path.toStdString() << " " << token.toStdString();
            EXPECT_EQ(answer.json().value("error"), "unauthorized");
        }
    }
}

INSTANTIATE_ON_BOTH_BACKENDS(ServiceAccounts);

} // namespace
