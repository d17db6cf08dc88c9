// The high-accuracy reader against the reference service on loopback: what it sends, how it
// reads each kind of answer, the coverage guard and its log lines.
#include "core/CloudAccount.h"
#include "core/CloudClient.h"
#include "core/CloudOCR.h"
#include "core/DebugLog.h"
#include "core/Keychain.h"

#include "support/ReferenceService.h"
#include "support/fakes/FakeSecretStore.h"

#include <QCoroTask>
#include <QFile>
#include <QFont>
#include <QNetworkAccessManager>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Kind = CloudOCR::Outcome::Kind;

namespace {

QImage filled(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

class CloudOCRTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();
        QFile::remove(DebugLog::currentPath());
        who = service.createAccount("reader@example.org", "pro");
        secrets.items.insert(CloudAccount::tokenItem, who.token.toUtf8());
    }

    CloudOCR::Outcome recognize(const QImage& image, const QString& transcript) {
        return QCoro::waitFor(reader.recognize(image, transcript));
    }
    // The canned reading `text` for an image, read against `transcript`.
    CloudOCR::Outcome answered(const QString& text, const QString& transcript) {
        service.queueAnswer("/api/ocr", 200, QJsonObject{{"text", text}});
        return recognize(filled(40, 20), transcript);
    }
    QJsonObject lastSent() { return service.received("/api/ocr").last().value("json").toObject(); }

    ReferenceService service;
    ReferenceService::Account who;
    QNetworkAccessManager network;
    CloudClient client{network, service.baseUrl()};
    FakeSecretStore secrets;
    Keychain keychain{secrets};
    CloudAccount account{keychain, client};
    CloudOCR reader{keychain, client, account, 1500ms};
};

QImage receivedImage(const QJsonObject& sent) {
    return QImage::fromData(QByteArray::fromBase64(sent.value("image").toString().toLatin1()),
                            "JPEG");
}

} // namespace

TEST(CloudOCRCoverage, CountsEachLocalCharacterOnceAndIgnoresBlanks) {
    EXPECT_EQ(CloudOCR::coverage("one two\nthree", "three\n  one\ttwo"), 1.0);
    // Three characters, two of them the same letter; the device saw that letter once.
    EXPECT_DOUBLE_EQ(CloudOCR::coverage("aab", "ab"), 2.0 / 3.0);
    EXPECT_EQ(CloudOCR::coverage("ab", "aab"), 1.0);
    EXPECT_EQ(CloudOCR::coverage(" \n\t", "anything"), 0.0);
    EXPECT_EQ(CloudOCR::coverage("abc", ""), 0.0);
    // User-perceived characters: a thumb with its skin tone is one character, not two, and
    // a bare thumb does not vouch for it.
    EXPECT_EQ(CloudOCR::coverage("👍🏽", "👍🏽"), 1.0);
    EXPECT_EQ(CloudOCR::coverage("👍🏽x", "👍x"), 0.5);
    // Non-breaking and ideographic spaces are blanks too.
    EXPECT_EQ(CloudOCR::coverage("a\u00a0b\u3000c", "abc"), 1.0);
}

TEST(CloudOCRImage, LongSidesAreScaledDownSmoothlyAndNeverUp) {
    const QImage wide = QImage::fromData(*CloudOCR::encodeJPEG(filled(3072, 1000)), "JPEG");
    EXPECT_EQ(wide.size(), QSize(1536, 500));
    const QImage tall = QImage::fromData(*CloudOCR::encodeJPEG(filled(999, 2000)), "JPEG");
    EXPECT_EQ(tall.size(), QSize(767, 1536)); // 999 x 0.768 = 767.2, truncated
    const QImage small = QImage::fromData(*CloudOCR::encodeJPEG(filled(1000, 800)), "JPEG");
    EXPECT_EQ(small.size(), QSize(1000, 800));
    // A side that would shrink to nothing: sent unscaled rather than not at all.
    EXPECT_EQ(QImage::fromData(*CloudOCR::encodeJPEG(filled(4000, 1)), "JPEG").size(),
              QSize(4000, 1));
    EXPECT_FALSE(CloudOCR::encodeJPEG(QImage()));
}

TEST_F(CloudOCRTest, TheServiceReceivesTheScaledJpegAndTheTrimmedTranscript) {
    service.queueAnswer("/api/ocr", 200, QJsonObject{{"text", "a b"}});
    EXPECT_EQ(recognize(filled(3072, 1000), "  a b \n").kind, Kind::Refined);
    const QJsonObject request = service.received("/api/ocr").value(0);
    EXPECT_EQ(request.value("method"), "POST");
    EXPECT_EQ(request.value("auth"), "valid");
    EXPECT_EQ(request.value("contentType"), "application/json");
    const QJsonObject sent = request.value("json").toObject();
    EXPECT_EQ(sent.keys(), (QStringList{"image", "transcript"}));
    EXPECT_EQ(sent.value("transcript"), "a b");
    EXPECT_FALSE(sent.value("image").toString().contains('\n'));
    EXPECT_EQ(receivedImage(sent).size(), QSize(1536, 500));

    service.queueAnswer("/api/ocr", 200, QJsonObject{{"text", "a"}});
    recognize(filled(1000, 800), "a");
    EXPECT_EQ(receivedImage(lastSent()).size(), QSize(1000, 800));
}

TEST_F(CloudOCRTest, TheCoverageGuardJudgesTheCleanedAnswer) {
    // A blank transcript is not sent, and nothing can vouch for the answer.
    CloudOCR::Outcome outcome = answered("Hello there", " \n \t\n");
    EXPECT_FALSE(lastSent().contains("transcript"));
    EXPECT_EQ(outcome.kind, Kind::CoverageRejected);
    EXPECT_EQ(outcome.coverage, 0.0);
    EXPECT_EQ(outcome.text, "Hello there");
    EXPECT_TRUE(DebugLog::tail().contains(" CloudOCR: coverage guard rejected 11 chars\n"))
        << DebugLog::tail().toStdString();

    // Columns put back in order: the same characters in other lines, accepted whole. The
    // answer is cleaned whatever the user's setting (trailing blanks, blank lines).
    outcome = answered("right column   \n\n\nleft column\n", "left column right column");
    EXPECT_EQ(outcome.kind, Kind::Refined);
    EXPECT_EQ(outcome.coverage, 1.0);
    EXPECT_EQ(outcome.text, "right column\n\nleft column");

    outcome = answered("aab", "ab");
    EXPECT_EQ(outcome.kind, Kind::CoverageRejected);
    EXPECT_DOUBLE_EQ(outcome.coverage, 2.0 / 3.0);
    outcome = answered("ab", "aab");
    EXPECT_EQ(outcome.kind, Kind::Refined);
    EXPECT_EQ(outcome.coverage, 1.0);

    // An answer that cleans to nothing is a failure, not an empty reading.
    EXPECT_EQ(answered(" \n\t \n", "text").kind, Kind::Failed);
}

TEST_F(CloudOCRTest, StatusesMapToOutcomesAndTheirLogLines) {
    service.queueAnswer("/api/ocr", 200,
                        QJsonObject{{"text", "ab"},
                                    {"usage", QJsonObject{{"inputTokens", 812},
                                                          {"outputTokens", 3},
                                                          {"costMicros", 1234}}}});
    EXPECT_EQ(recognize(filled(40, 20), "ab").kind, Kind::Refined);
    service.queueAnswer("/api/ocr", 200, QJsonObject{{"text", "ab"}, {"usage", QJsonObject{}}});
    recognize(filled(40, 20), "ab");
    service.queueAnswer("/api/ocr", 200, QJsonObject{{"text", ""}});
    EXPECT_EQ(recognize(filled(40, 20), "ab").kind, Kind::Failed);
    service.queueAnswer("/api/ocr", 429, QJsonObject{{"error", "slow_down"}});
    EXPECT_EQ(recognize(filled(40, 20), "ab").kind, Kind::Failed);
    service.queueAnswer("/api/ocr", 429, QJsonObject{{"error", "quota_exceeded"}});
    EXPECT_EQ(recognize(filled(40, 20), "ab").kind, Kind::QuotaExceeded);
    service.queueAnswer("/api/ocr", 503, QString("<html>down</html>"));
    EXPECT_EQ(recognize(filled(40, 20), "ab").kind, Kind::Failed);

    const QString log = DebugLog::tail();
    EXPECT_TRUE(log.contains(" CloudOCR: usage in=812 out=3 cost=$0.001234\n"))
        << log.toStdString();
    EXPECT_TRUE(log.contains(" CloudOCR: usage in=0 out=0 cost=$0.000000\n")) << log.toStdString();
    EXPECT_TRUE(log.contains(" CloudOCR: HTTP 200 error=-\n")) << log.toStdString();
    EXPECT_TRUE(log.contains(" CloudOCR: HTTP 429 error=slow_down\n")) << log.toStdString();
    EXPECT_TRUE(log.contains(" CloudOCR: HTTP 503 error=-\n")) << log.toStdString();
    EXPECT_FALSE(log.contains("quota_exceeded")) << log.toStdString();
}

TEST_F(CloudOCRTest, SilenceEndsAsAFailureAfterTheTimeout) {
    service.queueAnswer("/api/ocr", 200, QJsonObject{{"text", "too late"}}, 31000);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(recognize(filled(40, 20), "too late").kind, Kind::Failed);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_TRUE(DebugLog::tail().contains(" CloudOCR: network error / timeout\n"));

    service.stop();
    EXPECT_EQ(recognize(filled(40, 20), "x").kind, Kind::Failed);
}

TEST_F(CloudOCRTest, WithoutATokenNothingIsSentAndARejectedTokenRefreshesTheAccount) {
    secrets.items.remove(CloudAccount::tokenItem);
    EXPECT_EQ(recognize(filled(40, 20), "x").kind, Kind::NotSignedIn);
    EXPECT_TRUE(service.received("/api/ocr").isEmpty());

    // A 401 of its own: the account asks the service, which still knows the token.
    secrets.items.insert(CloudAccount::tokenItem, who.token.toUtf8());
    service.queueAnswer("/api/ocr", 401, QJsonObject{{"error", "unauthorized"}});
    EXPECT_EQ(recognize(filled(40, 20), "x").kind, Kind::Failed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.received("/api/me").size() == 1; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return account.state().isSignedIn(); }, 5000));
    EXPECT_FALSE(DebugLog::tail().contains("HTTP 401"));

    // A token the service has revoked: the refresh signs the user out.
    secrets.items.insert(CloudAccount::tokenItem, "revoked-or-never-issued");
    EXPECT_EQ(recognize(filled(40, 20), "x").kind, Kind::Failed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !account.state().isSignedIn(); }, 5000));
    EXPECT_FALSE(secrets.items.contains(CloudAccount::tokenItem));
}

TEST_F(CloudOCRTest, TheServiceReadsARealImage) {
    QImage image = filled(520, 90);
    QPainter painter(&image);
    painter.setFont(QFont("DejaVu Sans", 20));
    painter.setPen(Qt::black);
    painter.drawText(QRect(10, 10, 500, 70), Qt::AlignLeft | Qt::AlignVCenter,
                     "Quiet rivers carry light");
    painter.end();
    CloudOCR patient(keychain, client, account); // the real reading may take a while here
    const CloudOCR::Outcome outcome =
        QCoro::waitFor(patient.recognize(image, "Quiet rivers carry light"));
    EXPECT_EQ(outcome.kind, Kind::Refined) << outcome.text.toStdString();
    EXPECT_EQ(outcome.text, "Quiet rivers carry light");
}
