// The service address and the request conventions every cloud client shares.
#include "core/CloudClient.h"
#include "core/CloudConfig.h"
#include "core/CloudJson.h"

#include <QJsonArray>
#include <QNetworkAccessManager>

#include <gtest/gtest.h>

TEST(CloudConfig, OnlyHttpsOrLoopbackHttpIsAcceptedAndABadValueSaysWhy) {
    const QString builtIn = "https://glintext.example";
    QString error;
    EXPECT_EQ(CloudConfig::resolve("", builtIn, &error), QUrl(builtIn));
    EXPECT_EQ(CloudConfig::resolve("https://other.example:8443/base", builtIn).port(), 8443);
    EXPECT_EQ(CloudConfig::resolve("http://127.0.0.1:9999", builtIn).port(), 9999);
    EXPECT_EQ(CloudConfig::resolve("http://[::1]:1", builtIn).host(), "::1");
    EXPECT_EQ(CloudConfig::resolve("http://LOCALHOST:1", builtIn).host(), "localhost");
    EXPECT_TRUE(error.isEmpty());

    for (const char* bad :
         {"http://evil.example", "http://127.0.0.1.evil.example", "ftp://127.0.0.1", "not a url",
          "https://", "https://user:pw@host.example", "https://host.example/?x=1",
          "https://host.example/#f"}) {
        error.clear();
        EXPECT_TRUE(CloudConfig::resolve(bad, builtIn, &error).isEmpty()) << bad;
        EXPECT_TRUE(error.startsWith(
            QString("GLINTEXT_SERVICE_URL=\"%1\" cannot be used: ").arg(QString::fromUtf8(bad))))
            << error.toStdString();
    }
    EXPECT_TRUE(CloudConfig::resolve("", "http://service.example", &error).isEmpty());
    EXPECT_TRUE(error.contains("this build")) << error.toStdString();
    EXPECT_TRUE(error.contains("use https")) << error.toStdString();
}

TEST(CloudConfig, PathsAreAppendedOneComponentStringAtATime) {
    QNetworkAccessManager network;
    for (const char* base : {"https://h.example", "https://h.example/"}) {
        const CloudClient client(network, QUrl(base));
        EXPECT_EQ(client.apiUrl("app/token").toString(), "https://h.example/api/app/token");
        EXPECT_EQ(client.pageUrl("app/connect").toString(), "https://h.example/app/connect");
    }
    const CloudClient prefixed(network, QUrl("https://h.example/glx"));
    EXPECT_EQ(prefixed.apiUrl("sync/glintext").toString(),
              "https://h.example/glx/api/sync/glintext");
    EXPECT_EQ(prefixed.absoluteUrl("/api/crash").toString(), "https://h.example/api/crash");
    // A component is text, not an address: what would change the address is encoded.
    EXPECT_EQ(CloudConfig::appendingPath(QUrl("https://h.example"), "a b?c#d")
                  .toString(QUrl::FullyEncoded),
              "https://h.example/a%20b%3Fc%23d");
}

TEST(CloudJson, AnswersAreReadLenientlyAndMembersByType) {
    for (const char* notAnObject : {"", "[1,2]", "\"text\"", "5", "{\"token\":", "null", "<html>"})
        EXPECT_TRUE(CloudJson::parseObject(notAnObject).isEmpty()) << notAnObject;

    const QJsonObject answer = CloudJson::parseObject(
        R"({"token":5,"email":"a@b","n":7,"whole":7.0,"half":7.5,"text":"7","flag":true,
            "big":9007199254740993,"usage":{"inputTokens":3},"list":[]})");
    EXPECT_EQ(CloudJson::string(answer, "token"), std::nullopt);
    EXPECT_EQ(CloudJson::string(answer, "email"), "a@b");
    EXPECT_EQ(CloudJson::string(answer, "absent"), std::nullopt);
    EXPECT_EQ(CloudJson::integer(answer, "n"), 7);
    EXPECT_EQ(CloudJson::integer(answer, "whole"), 7);
    EXPECT_EQ(CloudJson::integer(answer, "big"), Q_INT64_C(9007199254740993));
    for (const char* notInteger : {"half", "text", "flag", "usage", "absent"})
        EXPECT_EQ(CloudJson::integer(answer, notInteger), std::nullopt) << notInteger;
    EXPECT_EQ(CloudJson::object(answer, "usage")->value("inputTokens").toInt(), 3);
    EXPECT_EQ(CloudJson::object(answer, "list"), std::nullopt);

    // Compact, as the service's strictest reader expects.
    EXPECT_EQ(CloudJson::serialize({{"b", 1}, {"a", QJsonArray{"x"}}}), R"({"a":["x"],"b":1})");
}

TEST(CloudClient, StatusesMapToTheAccountsFailures) {
    using Failure = CloudClient::Failure;
    auto failure = [](int status, QNetworkReply::NetworkError error = QNetworkReply::NoError) {
        CloudClient::Response response;
        response.status = status;
        response.transportError = error;
        return response.failure();
    };
    EXPECT_EQ(failure(200), Failure::None);
    EXPECT_EQ(failure(204), Failure::None);
    EXPECT_EQ(failure(299), Failure::None);
    EXPECT_EQ(failure(401), Failure::Unauthorized);
    for (int status : {300, 400, 403, 404, 409, 429, 500, 503})
        EXPECT_EQ(failure(status), Failure::Server) << status;
    EXPECT_EQ(failure(0, QNetworkReply::ConnectionRefusedError), Failure::Transport);
    EXPECT_EQ(failure(0, QNetworkReply::OperationCanceledError), Failure::Transport);
    EXPECT_EQ(failure(0), Failure::Invalid);
}
