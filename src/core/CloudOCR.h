#pragma once

#include <QByteArray>
#include <QImage>
#include <QJsonObject>
#include <QObject>
#include <QString>

#include <QCoro/QCoroTask>

#include <chrono>
#include <optional>

class CloudAccount;
class CloudClient;
class Keychain;

// The high-accuracy re-read of a captured image by the service ("ocr"), which restores the
// reading order of multi-column layouts. Prepares the image (longer side at most 1536 px,
// JPEG at quality 75), sends it with the on-device transcript, cleans the answer and checks
// it against what the device itself saw: a reading made mostly of characters the device did
// not see (a low-resolution guess) is rejected. Writes its own usage, guard and error lines
// to the debug log; the caller acts on the outcome. Nothing is retried. GUI thread; several
// recognitions may be in flight at once and share nothing.
class CloudOCR : public QObject {
    Q_OBJECT
public:
    static constexpr int maxImageSide = 1536;
    static constexpr int jpegQuality = 75;
    static constexpr std::chrono::milliseconds defaultTimeout{30000};
    // Accepted when the coverage is at least this.
    static constexpr double coverageThreshold = 0.7;

    struct Outcome {
        enum class Kind {
            Refined,          // the cleaned reading passed the coverage guard
            CoverageRejected, // the service answered, but too little of it was seen locally
            QuotaExceeded,    // the service's daily-quota answer
            NotSignedIn,      // no token stored; nothing was sent
            Failed,           // anything else: image, network, time-out, status, empty answer
        };
        Kind kind = Kind::Failed;
        QString text;        // Refined and CoverageRejected: the cleaned reading
        double coverage = 0; // Refined and CoverageRejected: from 0 to 1

        bool hasReading() const { return kind == Kind::Refined || kind == Kind::CoverageRejected; }
    };

    // `timeout` bounds the request; tests shorten it.
    CloudOCR(Keychain& keychain, CloudClient& client, CloudAccount& account,
             std::chrono::milliseconds timeout = defaultTimeout, QObject* parent = nullptr);

    // Never fails: every failure is an outcome. A 401 also starts an account refresh, which
    // signs the user out when the token is really rejected.
    QCoro::Task<Outcome> recognize(QImage image, QString localTranscript);

    // The JPEG bytes sent for `image`: scaled down smoothly so its longer side is at most
    // maxImageSide (never enlarged); nothing when it cannot be encoded.
    static std::optional<QByteArray> encodeJPEG(const QImage& image);
    // The share of the non-blank user-perceived characters of `cloud` that `local` also
    // holds, each local character vouching for one cloud character; 0 for a blank `cloud`.
    static double coverage(const QString& cloud, const QString& local);

private:
    struct PostResult {
        enum class Kind { Recognized, QuotaExceeded, Failed };
        Kind kind = Kind::Failed;
        QString text; // Recognized: the raw reading
    };

    QCoro::Task<PostResult> post(QJsonObject body, QString token);
    PostResult read(int status, const QJsonObject& answer);

    Keychain& m_keychain;
    CloudClient& m_client;
    CloudAccount& m_account;
    std::chrono::milliseconds m_timeout;
};
