// The cloud account against the reference service on loopback: the browser sign-in with its
// page and redirect, the code exchange, refresh, sign-out, and what lands in the keyring.
#include "core/CloudAccount.h"
#include "core/CloudClient.h"
#include "core/Keychain.h"
#include "platform/secret/KeyringSecretStore.h"
#include "platform/secret/LibsecretKeyringAccess.h"

#include "support/PrivateKeyring.h"
#include "support/ReferenceService.h"
#include "support/fakes/FakeSecretStore.h"

#include <QCoroTask>
#include <QDesktopServices>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using State = CloudAccount::State;

namespace {

// Stands in for the default browser: QDesktopServices hands it what it would open.
class Browser : public QObject {
    Q_OBJECT
public:
    Browser() { QDesktopServices::setUrlHandler("http", this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler("http"); }
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

QString hiddenValue(const QString& page, const QString& name) {
    const QRegularExpression field(QString(R"re(name="%1" value="([^"]*)")re").arg(name));
    return field.match(page).captured(1);
}

QString queryValue(const QUrl& url, const QString& name) {
    return QUrlQuery(url).queryItemValue(name, QUrl::FullyDecoded);
}

QUrl callback(const QString& query) {
    return QUrl("glintext://auth?" + query);
}

class CloudAccountTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();
    }

    // The account over `store` (an in-memory keyring unless a test brings the real one).
    CloudAccount& account(SecretStore& store) {
        keychain = std::make_unique<Keychain>(store);
        cloud = std::make_unique<CloudAccount>(*keychain, client);
        return *cloud;
    }
    CloudAccount& account() { return account(memory); }

    // Opens the sign-in page and returns the state value it carries.
    QString startSignIn() {
        const qsizetype before = browser.opened.size();
        cloud->signIn();
        EXPECT_EQ(browser.opened.size(), before + 1);
        return queryValue(browser.opened.last(), "state");
    }

    // What a person does in the browser: the page, an e-mail address, the redirect.
    QUrl completeInBrowser(const QUrl& page, const QString& email) {
        const auto shown = service.http().get(page.path() + "?" + page.query(QUrl::FullyEncoded));
        EXPECT_EQ(shown.status, 200);
        const QString html = QString::fromUtf8(shown.body);
        QUrlQuery form;
        for (const char* name : {"app", "challenge", "state"})
            form.addQueryItem(name, QUrl::toPercentEncoding(hiddenValue(html, name)));
        form.addQueryItem("email", QUrl::toPercentEncoding(email));
        const auto sent = service.http().send({"POST",
                                               "/app/connect",
                                               form.query(QUrl::FullyEncoded).toUtf8(),
                                               {},
                                               "application/x-www-form-urlencoded"});
        EXPECT_EQ(sent.status, 303);
        return QUrl(QString::fromUtf8(sent.header("Location")));
    }

    bool waitForState(const State& expected) {
        return QTest::qWaitFor([&] { return cloud->state() == expected; }, 15000);
    }

    void storeSignedIn(const ReferenceService::Account& who) {
        memory.items = {{"cloudToken", who.token.toUtf8()},
                        {"cloudEmail", who.email.toUtf8()},
                        {"cloudTier", who.tier.toUtf8()},
                        {"cloudDeviceId", "DEVICE-KEPT"}};
    }

    ReferenceService service;
    QNetworkAccessManager network;
    CloudClient client{network, service.baseUrl()};
    Browser browser;
    FakeSecretStore memory;
    std::unique_ptr<Keychain> keychain;
    std::unique_ptr<CloudAccount> cloud;
};

} // namespace

TEST(CloudAccountState, StatesAreEqualByValueAndThePkceValuesHaveTheirForm) {
    EXPECT_EQ(State::signedOut(), State());
    EXPECT_EQ(State::signedIn("a@b", "free"), State::signedIn("a@b", "free"));
    EXPECT_NE(State::signedIn("a@b", "free"), State::signedIn("a@b", "pro"));
    EXPECT_NE(State::signedIn("a@b", "free"), State::signedIn("c@d", "free"));
    EXPECT_NE(State::signedIn("", "free"), State::signedOut());

    // RFC 7636, appendix B.
    EXPECT_EQ(CloudAccount::challenge("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk"),
              "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM");
    const QRegularExpression urlBase64("^[A-Za-z0-9_-]+$");
    const QString verifier = CloudAccount::randomURLBase64(32);
    EXPECT_EQ(verifier.size(), 43);
    EXPECT_EQ(CloudAccount::randomURLBase64(16).size(), 22);
    EXPECT_TRUE(urlBase64.match(verifier).hasMatch()) << verifier.toStdString();
    EXPECT_NE(verifier, CloudAccount::randomURLBase64(32));
}

TEST_F(CloudAccountTest, BrowserSignInEndsSignedInWithTheItemsInTheRealKeyring) {
    PrivateKeyring& keyring = PrivateKeyring::get(PrivateKeyring::Kind::Unlocked);
    if (!keyring.ready())
        GTEST_SKIP() << keyring.problem().toStdString();
    KeyringSecretStore store(std::make_unique<LibsecretKeyringAccess>("io.glintext.Glintext"));
    account(store);
    EXPECT_EQ(cloud->state(), State::signedOut());
    QSignalSpy published(cloud.get(), &CloudAccount::statePublished);

    startSignIn();
    const QUrl page = browser.opened.last();
    EXPECT_EQ(page.path(), "/app/connect");
    const auto items = QUrlQuery(page).queryItems();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0], (QPair<QString, QString>("app", "glintext")));
    EXPECT_EQ(items[1].first, "challenge");
    EXPECT_EQ(items[2].first, "state");
    EXPECT_EQ(items[2].second.size(), 22);

    const QUrl redirect = completeInBrowser(page, "Someone@Example.org");
    EXPECT_EQ(redirect.scheme(), "glintext");
    EXPECT_TRUE(cloud->handleCallback(redirect));
    EXPECT_FALSE(cloud->handleCallback(redirect)) << "a callback is accepted once";
    ASSERT_TRUE(waitForState(State::signedIn("someone@example.org", "free")));
    EXPECT_EQ(published.size(), 1);

    // The exchange carried the verifier behind the page's challenge, and no authorisation.
    const QList<QJsonObject> exchanges = service.received("/api/app/token");
    ASSERT_EQ(exchanges.size(), 1);
    const QJsonObject sent = exchanges[0].value("json").toObject();
    EXPECT_EQ(CloudAccount::challenge(sent.value("verifier").toString()), items[1].second);
    EXPECT_EQ(exchanges[0].value("auth"), "none");
    EXPECT_EQ(exchanges[0].value("contentType"), "application/json");

    ASSERT_TRUE(store.flush(10s));
    const QString schema = "io.glintext.Glintext";
    const std::optional<QByteArray> token = keyring.lookup(schema, "cloudToken");
    ASSERT_TRUE(token.has_value());
    EXPECT_EQ(service.http().get("/api/me", QString::fromUtf8(*token)).status, 200);
    EXPECT_EQ(keyring.lookup(schema, "cloudEmail"), QByteArray("someone@example.org"));
    EXPECT_EQ(keyring.lookup(schema, "cloudTier"), QByteArray("free"));
    const QString deviceId = QString::fromUtf8(keyring.lookup(schema, "cloudDeviceId").value());
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$")
                    .match(deviceId)
                    .hasMatch())
        << deviceId.toStdString();
    EXPECT_EQ(sent.value("deviceId"), deviceId);
}

TEST_F(CloudAccountTest, OnlyTheLatestSignInCanCompleteAndMembersAreFoundByName) {
    account();
    const QString first = startSignIn();
    const QString second = startSignIn();
    ASSERT_NE(first, second);

    EXPECT_FALSE(cloud->handleCallback(callback("code=c1&state=" + first)));
    EXPECT_FALSE(cloud->handleCallback(QUrl("glintext://other?code=c2&state=" + second)));
    EXPECT_FALSE(cloud->handleCallback(callback("state=" + second)));
    EXPECT_FALSE(cloud->handleCallback(callback("code=&state=" + second)));
    EXPECT_TRUE(service.received("/api/app/token").isEmpty());

    // Those changed nothing: the second attempt still completes, whatever the member order.
    EXPECT_TRUE(cloud->handleCallback(callback("state=" + second + "&code=c2&extra=1")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.received("/api/app/token").size() == 1; }));
    EXPECT_EQ(service.received("/api/app/token")[0].value("json").toObject().value("code"), "c2");
    // The service does not know that code: still signed out, and nothing stored but the device.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !memory.items.isEmpty(); }));
    EXPECT_TRUE(waitForState(State::signedOut()));
    EXPECT_EQ(memory.items.keys(), QStringList{"cloudDeviceId"});
}

TEST_F(CloudAccountTest, ExchangeAnswersAreReadByMemberType) {
    account();
    QSignalSpy published(cloud.get(), &CloudAccount::statePublished);

    service.queueAnswer("/api/app/token", 200, QJsonObject{{"token", 12345}, {"email", "x@y"}});
    EXPECT_TRUE(cloud->handleCallback(callback("code=c&state=" + startSignIn())));
    ASSERT_TRUE(published.wait(15000));
    EXPECT_EQ(cloud->state(), State::signedOut());
    EXPECT_FALSE(memory.items.contains("cloudToken"));

    service.queueAnswer("/api/app/token", 200, QJsonObject{{"token", "opaque"}});
    EXPECT_TRUE(cloud->handleCallback(callback("code=c&state=" + startSignIn())));
    ASSERT_TRUE(waitForState(State::signedIn("", "free")));
    EXPECT_EQ(memory.items.value("cloudToken"), "opaque");
    EXPECT_TRUE(memory.items.contains("cloudEmail"));
    EXPECT_EQ(memory.items.value("cloudEmail"), "");
    EXPECT_EQ(memory.items.value("cloudTier"), "free");

    // A later attempt that fails leaves the stored sign-in as it is, and says so.
    const qsizetype before = published.size();
    service.queueAnswer("/api/app/token", 500, QJsonObject{{"error", "boom"}});
    EXPECT_TRUE(cloud->handleCallback(callback("code=c&state=" + startSignIn())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return published.size() > before; }, 15000));
    EXPECT_EQ(cloud->state(), State::signedIn("", "free"));
    EXPECT_EQ(memory.items.value("cloudToken"), "opaque");
}

TEST_F(CloudAccountTest, RefreshSignsOutOnlyWhenTheServiceRejectsTheToken) {
    const auto who = service.createAccount("pat@example.org", "pro");
    storeSignedIn(who);
    memory.items["cloudTier"] = "free"; // changed on the service since
    account();
    EXPECT_EQ(cloud->state(), State::signedIn("pat@example.org", "free"));

    cloud->start();
    ASSERT_TRUE(waitForState(State::signedIn("pat@example.org", "pro")));
    EXPECT_EQ(memory.items.value("cloudTier"), "pro");
    EXPECT_EQ(service.received("/api/me").value(0).value("auth"), "valid");

    service.queueAnswer("/api/me", 500, QJsonObject{{"error", "down"}});
    QCoro::waitFor(cloud->refresh());
    EXPECT_EQ(cloud->state(), State::signedIn("pat@example.org", "pro"));
    EXPECT_EQ(memory.items.value("cloudToken"), who.token.toUtf8());

    service.queueAnswer("/api/me", 401, QJsonObject{{"error", "unauthorized"}});
    QCoro::waitFor(cloud->refresh());
    EXPECT_EQ(cloud->state(), State::signedOut());
    EXPECT_EQ(memory.items.keys(), QStringList{"cloudDeviceId"});
}

TEST_F(CloudAccountTest, StartUpWithTheServiceDownShowsTheStoredAccountAndKeepsIt) {
    storeSignedIn(service.createAccount("pat@example.org"));
    service.stop();
    account();
    QSignalSpy published(cloud.get(), &CloudAccount::statePublished);
    EXPECT_EQ(cloud->state(), State::signedIn("pat@example.org", "free"));

    QCoro::waitFor(cloud->refresh());
    EXPECT_EQ(cloud->state(), State::signedIn("pat@example.org", "free"));
    EXPECT_TRUE(published.isEmpty());
    EXPECT_EQ(memory.items.size(), 4);

    // Signing out needs no service either.
    cloud->signOut();
    EXPECT_EQ(cloud->state(), State::signedOut());
    EXPECT_EQ(memory.items.keys(), QStringList{"cloudDeviceId"});
}

TEST_F(CloudAccountTest, SignOutTellsTheServiceAndARefreshUnderwayCannotUndoIt) {
    const auto who = service.createAccount("pat@example.org");
    storeSignedIn(who);
    account();

    // A refresh still waiting for its (good) answer when the user signs out.
    service.queueAnswer("/api/me", 200, QJsonObject{{"email", who.email}, {"tier", "pro"}}, 500);
    QCoro::Task<> refreshing = cloud->refresh(); // runs until it waits for the answer
    cloud->signOut();
    EXPECT_EQ(cloud->state(), State::signedOut());
    QCoro::waitFor(std::move(refreshing));
    EXPECT_EQ(cloud->state(), State::signedOut());
    EXPECT_EQ(memory.items.keys(), QStringList{"cloudDeviceId"});

    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.received("/api/app/logout").isEmpty(); }));
    const QJsonObject notice = service.received("/api/app/logout")[0];
    EXPECT_EQ(notice.value("auth"), "valid");
    EXPECT_EQ(notice.value("body"), "{}");
    EXPECT_EQ(service.http().get("/api/me", who.token).status, 401) << "the token is revoked";
}

TEST_F(CloudAccountTest, AKeyringUnlockedOnlyAfterStartUpBringsTheAccountBack) {
    account();
    cloud->start();
    EXPECT_EQ(cloud->state(), State::signedOut());

    storeSignedIn(service.createAccount("late@example.org"));
    Q_EMIT memory.itemsArrived();
    EXPECT_EQ(cloud->state(), State::signedIn("late@example.org", "free"));
    // Started already, so it is refreshed as a start with a token would have been.
    EXPECT_TRUE(QTest::qWaitFor([&] { return service.received("/api/me").size() == 1; }));
}

#include "CloudAccount_test.moc"
