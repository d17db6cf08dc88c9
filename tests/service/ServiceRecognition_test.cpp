#include "ServiceBackend.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

namespace {

QString jpegBase64(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 75);
    return QString::fromLatin1(bytes.toBase64());
}

// Lines of text as a screen shows them: dark on white, `pixelSize` high, in columns.
QImage page(const QList<QStringList>& columns, int pixelSize,
            const QString& family = "DejaVu Sans") {
    const int columnWidth = pixelSize * 22;
    qsizetype rows = 0;
    for (const QStringList& column : columns)
        rows = std::max(rows, column.size());
    QImage image(int(columns.size()) * columnWidth + pixelSize, int(rows + 2) * pixelSize * 3 / 2,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(family);
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(QColor(30, 30, 30));
    for (qsizetype c = 0; c < columns.size(); ++c) {
        for (qsizetype r = 0; r < columns[c].size(); ++r)
            painter.drawText(int(c) * columnWidth + pixelSize,
                             int(r + 1) * pixelSize * 3 / 2 + pixelSize, columns[c][r]);
    }
    return image;
}

class ServiceRecognition : public testing::Test {
protected:
    void SetUp() override {
        ReferenceService::Options options;
        options.quota = 3;
        service = startService(Backend::Sqlite, options);
        ASSERT_TRUE(service);
        token = service->createAccount("ocr@example.org").token;
    }
    HttpTestClient::Result recognize(const QJsonObject& body, const QString& as = {}) {
        return service->http().post("/api/ocr", body, as.isEmpty() ? token : as);
    }

    std::unique_ptr<ReferenceService> service;
    QString token;
};

// Two columns of `lines` sentences each, a west one and an east one.
QImage twoColumns(int lines) {
    QStringList left, right;
    for (int i = 1; i <= lines; ++i) {
        left << QString("West column sentence number %1 here").arg(i);
        right << QString("East side holds other words %1 too").arg(i);
    }
    return page({left, right}, 15);
}

// No line of the answer mixes the columns, and the whole west column comes before the east.
void expectColumnByColumn(const QString& text, int lines) {
    for (const QString& line : text.split('\n'))
        EXPECT_FALSE(line.contains("West") && line.contains("East")) << line.toStdString();
    EXPECT_TRUE(text.contains(QString("West column sentence number %1 here").arg(lines)))
        << text.toStdString();
    EXPECT_LT(text.indexOf(QString("number %1").arg(lines)),
              text.indexOf("East side holds other words 1 "));
}

TEST_F(ServiceRecognition, ReadsAPageColumnByColumn) {
    const auto result = recognize({{"image", jpegBase64(twoColumns(24))}});
    ASSERT_EQ(result.status, 200) << result.body.toStdString();
    expectColumnByColumn(result.json().value("text").toString(), 24);
    const QJsonObject usage = result.json().value("usage").toObject();
    for (const char* member : {"inputTokens", "outputTokens", "costMicros"})
        EXPECT_GT(usage.value(member).toInt(), 0) << member;
}

// What a user selects of an article: five lines of each column. Tesseract's page layout
// joins such lines across the gutter; the service must not.
TEST_F(ServiceRecognition, AFewLinesOfTwoColumnsComeOutColumnByColumn) {
    const auto result = recognize({{"image", jpegBase64(twoColumns(5))}});
    ASSERT_EQ(result.status, 200) << result.body.toStdString();
    expectColumnByColumn(result.json().value("text").toString(), 5);
}

TEST_F(ServiceRecognition, AJapaneseTranscriptReadsJapaneseWithoutSpaces) {
    const QImage image = page({{"日本語の文章を読みます"}}, 28, "Noto Sans CJK JP");
    const auto result = recognize({{"image", jpegBase64(image)}, {"transcript", "日本語の文章"}});
    ASSERT_EQ(result.status, 200);
    EXPECT_TRUE(result.json().value("text").toString().contains("日本語の文章"))
        << result.body.toStdString();
}

TEST_F(ServiceRecognition, TheDailyQuotaCountsOnlyReadableRequests) {
    const QString image = jpegBase64(page({{"quota"}}, 20));
    const QList<QJsonObject> refused = {
        {},
        {{"image", 5}},
        {{"image", "not base64 !"}},
        {{"image", QString::fromLatin1(QByteArray("GIF89a").toBase64())}},
        {{"image", image}, {"transcript", 7}}};
    for (const QJsonObject& body : refused)
        EXPECT_EQ(recognize(body).status, 400);
    EXPECT_EQ(service->http().send({"POST", "/api/ocr", "{]", token}).status, 400);

    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(recognize({{"image", image}}).status, 200);
    const auto over = recognize({{"image", image}});
    EXPECT_EQ(over.status, 429);
    EXPECT_EQ(over.json(), (QJsonObject{{"error", "quota_exceeded"}}));
    // Per account, per day.
    EXPECT_EQ(recognize({{"image", image}}, service->createAccount("b@example.org").token).status,
              200);
    service->advanceClock(24 * 3600);
    EXPECT_EQ(recognize({{"image", image}}).status, 200);
}

TEST_F(ServiceRecognition, CannedAnswersAndDelaysReplaceOnlyTheNextRequest) {
    const QJsonObject body{{"image", jpegBase64(page({{"canned"}}, 20))}};
    service->queueAnswer("/api/ocr", 500, QJsonObject{{"error", "boom"}});
    service->queueAnswer("/api/ocr", 429, QJsonObject{{"error", "slow_down"}});
    service->queueAnswer("/api/ocr", 200, QJsonObject{{"text", ""}});
    service->queueAnswer("/api/ocr", 502, "gateway trouble");
    EXPECT_EQ(recognize(body).json().value("error"), "boom");
    EXPECT_EQ(recognize(body).json().value("error"), "slow_down");
    EXPECT_EQ(recognize(body).json(), (QJsonObject{{"text", ""}}));
    const auto plain = recognize(body);
    EXPECT_EQ(plain.status, 502);
    EXPECT_EQ(plain.body, "gateway trouble");
    const auto real = recognize(body);
    EXPECT_EQ(real.status, 200);
    EXPECT_TRUE(real.json().value("text").toString().contains("canned"));

    // A client with a short time-out gives up on a delayed answer; the service carries on.
    service->queueDelay("/api/me", 1500);
    HttpTestClient impatient(service->baseUrl());
    impatient.setTimeoutMs(300);
    EXPECT_EQ(impatient.get("/api/me", token).status, 0);
    EXPECT_EQ(service->http().get("/api/me", token).status, 200);

    const QList<QJsonObject> received = service->received("/api/ocr");
    ASSERT_EQ(received.size(), 5);
    EXPECT_EQ(received[0].value("status"), 500);
    EXPECT_EQ(received[4].value("status"), 200);
    EXPECT_EQ(received[0].value("auth"), "valid");
    EXPECT_EQ(received[0].value("email"), "ocr@example.org");
    EXPECT_EQ(received[0].value("json").toObject(), body);
    EXPECT_EQ(service->received("/api/me").size(), 2);
}

} // namespace
