// The shared request conventions on the wire, against the reference service on loopback.
#include "core/CloudClient.h"

#include "support/ReferenceService.h"

#include <QCoroTask>
#include <QNetworkAccessManager>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Failure = CloudClient::Failure;

TEST(CloudClient, RequestsCarryOnlyTheTokenAndTheJsonTheyNeed) {
    ReferenceService service;
    ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();
    QNetworkAccessManager network;
    CloudClient client(network, service.baseUrl());
    const auto who = service.createAccount("pat@example.org", "pro");

    const CloudClient::Response me = QCoro::waitFor(client.get("me", who.token));
    EXPECT_EQ(me.failure(), Failure::None);
    EXPECT_EQ(me.body, (QJsonObject{{"email", "pat@example.org"}, {"tier", "pro"}}));
    const QJsonObject get = service.received("/api/me").value(0);
    EXPECT_EQ(get.value("method"), "GET");
    EXPECT_EQ(get.value("auth"), "valid");
    EXPECT_EQ(get.value("contentType"), "");
    EXPECT_EQ(get.value("body"), "");

    const CloudClient::Response logout =
        QCoro::waitFor(client.post("app/logout", QJsonObject{}, who.token));
    EXPECT_EQ(logout.status, 200);
    const QJsonObject post = service.received("/api/app/logout").value(0);
    EXPECT_EQ(post.value("contentType"), "application/json");
    EXPECT_EQ(post.value("body"), "{}");
    EXPECT_EQ(QCoro::waitFor(client.get("me", who.token)).failure(), Failure::Unauthorized);
    EXPECT_EQ(service.received("/api/me").value(1).value("auth"), "invalid");
}

TEST(CloudClient, AnswersAreReadLenientlyAndSilenceEndsARequest) {
    ReferenceService service;
    ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();
    QNetworkAccessManager network;
    CloudClient client(network, service.baseUrl());

    service.queueAnswer("/api/me", 200, QString("<html>not json</html>"));
    const CloudClient::Response html = QCoro::waitFor(client.get("me", "t"));
    EXPECT_EQ(html.failure(), Failure::None);
    EXPECT_TRUE(html.body.isEmpty());

    service.queueAnswer("/api/me", 503, QJsonObject{{"error", "maintenance"}});
    const CloudClient::Response down = QCoro::waitFor(client.get("me", "t"));
    EXPECT_EQ(down.failure(), Failure::Server);
    EXPECT_EQ(down.status, 503);
    EXPECT_EQ(down.body.value("error"), "maintenance");

    service.queueAnswer("/api/me", 200, QJsonObject{{"email", "late@example.org"}}, 3000);
    CloudClient::Request slow{"GET", client.apiUrl("me"), std::nullopt, "t", 300ms};
    const CloudClient::Response timedOut = QCoro::waitFor(client.send(slow));
    EXPECT_EQ(timedOut.failure(), Failure::Transport);
    EXPECT_EQ(timedOut.transportError, QNetworkReply::OperationCanceledError);

    service.stop();
    const CloudClient::Response refused = QCoro::waitFor(client.get("me", "t"));
    EXPECT_EQ(refused.failure(), Failure::Transport);
    EXPECT_EQ(refused.status, 0);
}
