#include "ServiceBackend.h"

#include <QJsonDocument>

namespace {

const QString path = "/api/sync/glintext";

class ServiceSync : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        service = startService(GetParam());
        ASSERT_TRUE(service);
        token = service->createAccount("sync@example.org").token;
    }
    HttpTestClient::Result upload(const QJsonValue& blob, const QJsonValue& baseVersion,
                                  const QString& as = {}) {
        return service->http().put(
            path, {{"blob", blob}, {"baseVersion", baseVersion}, {"deviceId", "DEVICE-A"}},
            as.isEmpty() ? token : as);
    }
    QJsonObject download(const QString& as = {}) {
        const auto result = service->http().get(path, as.isEmpty() ? token : as);
        EXPECT_EQ(result.status, 200);
        return result.json();
    }

    std::unique_ptr<ReferenceService> service;
    QString token;
};

TEST_P(ServiceSync, UploadsAreTakenOnlyOnTopOfTheStoredVersion) {
    EXPECT_EQ(download(), (QJsonObject{{"version", 0}}));

    EXPECT_EQ(upload("first", 0).json(), (QJsonObject{{"version", 1}}));
    const auto stale = upload("lost", 0);
    EXPECT_EQ(stale.status, 409);
    EXPECT_EQ(stale.json().value("version"), 1);
    EXPECT_EQ(upload("second", 1).json().value("version"), 2);
    EXPECT_EQ(upload("lost", 1).status, 409);
    EXPECT_EQ(upload("lost", 7).status, 409);
    EXPECT_EQ(download(), (QJsonObject{{"version", 2}, {"blob", "second"}}));

    // Another account has its own document.
    const QString other = service->createAccount("other@example.org").token;
    EXPECT_EQ(download(other).value("version"), 0);
    EXPECT_EQ(upload("theirs", 0, other).json().value("version"), 1);
    EXPECT_EQ(download().value("blob"), "second");
}

TEST_P(ServiceSync, TheBlobComesBackExactlyAsUploaded) {
    const QString blob =
        QString(R"({"languageCode":"ja","historyLimit":20,"note":"é 日本 \"q\" )") + QChar(0) +
        QString(50000, 'x') + "}";
    ASSERT_EQ(upload(blob, 0).status, 200);
    EXPECT_EQ(download().value("blob").toString(), blob);
}

TEST_P(ServiceSync, MalformedUploadsAreRefusedAndChangeNothing) {
    ASSERT_EQ(upload("kept", 0).status, 200);
    const QList<QJsonObject> bad = {
        {{"baseVersion", 1}, {"deviceId", "D"}},
        {{"blob", 5}, {"baseVersion", 1}, {"deviceId", "D"}},
        {{"blob", "x"}, {"baseVersion", "1"}, {"deviceId", "D"}},
        {{"blob", "x"}, {"baseVersion", -1}, {"deviceId", "D"}},
        {{"blob", "x"}, {"baseVersion", 1.5}, {"deviceId", "D"}},
        {{"blob", "x"}, {"baseVersion", 1}},
        {{"blob", "x"}, {"baseVersion", 1}, {"deviceId", QString("D") + QChar(0)}}};
    for (const QJsonObject& body : bad) {
        const auto result = service->http().put(path, body, token);
        EXPECT_EQ(result.status, 400) << QJsonDocument(body).toJson().toStdString();
        EXPECT_FALSE(result.json().value("error").toString().isEmpty());
    }
    EXPECT_EQ(service->http().send({"PUT", path, "not json", token}).status, 400);
    EXPECT_EQ(download(), (QJsonObject{{"version", 1}, {"blob", "kept"}}));
}

INSTANTIATE_ON_BOTH_BACKENDS(ServiceSync);

} // namespace
