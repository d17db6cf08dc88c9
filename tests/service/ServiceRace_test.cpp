#include "ServiceBackend.h"

#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <QPainter>

namespace {

// Two service processes on one PostgreSQL database, as behind a load balancer: whatever
// process serves a request, the version rule and the quota must hold.
class ServiceRace : public testing::Test {
protected:
    void SetUp() override {
        QString error;
        const QString database = PostgresCluster::shared().createDatabase(&error);
        ASSERT_FALSE(database.isEmpty()) << error.toStdString();
        ReferenceService::Options options;
        options.database = database;
        first = std::make_unique<ReferenceService>(options);
        second = std::make_unique<ReferenceService>(options);
        ASSERT_TRUE(first->isRunning()) << first->startupError().toStdString();
        ASSERT_TRUE(second->isRunning()) << second->startupError().toStdString();
        token = first->createAccount("race@example.org").token;
    }

    // `count` copies of one request, alternately to either process, all in flight at once.
    QList<HttpTestClient::Result> burst(int count, HttpTestClient::Request request) {
        request.token = token;
        QList<HttpTestClient::Request> requests;
        for (int i = 0; i < count; ++i) {
            const ReferenceService& target = i % 2 ? *second : *first;
            requests << request;
            requests.back().path = target.baseUrl().resolved(QUrl(request.path)).toString();
        }
        return HttpTestClient().sendAll(requests);
    }
    static int countStatus(const QList<HttpTestClient::Result>& results, int status) {
        return int(std::count_if(results.begin(), results.end(),
                                 [status](const auto& result) { return result.status == status; }));
    }

    std::unique_ptr<ReferenceService> first, second;
    QString token;
};

TEST_F(ServiceRace, ExactlyOneOfManyUploadsOnTheSameVersionWins) {
    auto upload = [](int base) {
        return HttpTestClient::Request(
            "PUT", "/api/sync/glintext",
            QJsonDocument(
                QJsonObject{{"blob", "from race"}, {"baseVersion", base}, {"deviceId", "D"}})
                .toJson(QJsonDocument::Compact));
    };
    for (int base = 0; base < 2; ++base) {
        const auto results = burst(50, upload(base));
        EXPECT_EQ(countStatus(results, 200), 1) << "base version " << base;
        EXPECT_EQ(countStatus(results, 409), 49) << "base version " << base;
    }
    // Only the first requests of a burst can collide, so more, smaller bursts follow.
    for (int base = 2; base < 40; ++base)
        ASSERT_EQ(countStatus(burst(6, upload(base)), 200), 1) << "base version " << base;
    EXPECT_EQ(second->http().get("/api/sync/glintext", token).json().value("version"), 40);
}

TEST_F(ServiceRace, TheQuotaHoldsAcrossProcesses) {
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).drawText(10, 25, "race");
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    const QByteArray body =
        QJsonDocument(QJsonObject{{"image", QString::fromLatin1(jpeg.toBase64())}})
            .toJson(QJsonDocument::Compact);
    const auto results = burst(60, {"POST", "/api/ocr", body});
    EXPECT_EQ(countStatus(results, 200), 50);
    EXPECT_EQ(countStatus(results, 429), 10);
}

} // namespace
