#include "core/CloudOCR.h"

#include "base/TextUtil.h"
#include "core/CloudAccount.h"
#include "core/CloudClient.h"
#include "core/CloudJson.h"
#include "core/DebugLog.h"
#include "core/Keychain.h"
#include "core/TextCleanup.h"

#include <QBuffer>
#include <QHash>
#include <QPointer>
#include <QTextBoundaryFinder>

namespace {

// A user-perceived character is blank when its first code point is white space (line
// breaks included).
bool isBlank(QStringView grapheme) {
    const char32_t first = grapheme.isEmpty() ? 0 : grapheme.toUcs4().value(0);
    return QChar::isSpace(first);
}

// The non-blank user-perceived characters of `text`, in order.
QList<QStringView> visibleGraphemes(const QString& text) {
    QList<QStringView> out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end > 0; end = finder.toNextBoundary()) {
        const QStringView grapheme = QStringView(text).mid(start, end - start);
        if (!isBlank(grapheme))
            out.append(grapheme);
        start = end;
    }
    return out;
}

} // namespace

CloudOCR::CloudOCR(Keychain& keychain, CloudClient& client, CloudAccount& account,
                   std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), m_keychain(keychain), m_client(client), m_account(account),
      m_timeout(timeout) {}

QCoro::Task<CloudOCR::Outcome> CloudOCR::recognize(QImage image, QString localTranscript) {
    const std::optional<QString> token = m_keychain.get(CloudAccount::tokenItem);
    if (!token || token->isEmpty())
        co_return Outcome{Outcome::Kind::NotSignedIn, {}, 0};
    const std::optional<QByteArray> jpeg = encodeJPEG(image);
    image = QImage(); // only the JPEG travels on
    if (!jpeg)
        co_return Outcome{Outcome::Kind::Failed, {}, 0};

    QJsonObject body{{QStringLiteral("image"), QString::fromLatin1(jpeg->toBase64())}};
    const QString local = TextCleanup::trimWhitespaceAndNewlines(localTranscript);
    if (!local.isEmpty())
        body.insert(QStringLiteral("transcript"), local);

    QPointer<CloudOCR> self(this);
    QCoro::Task<PostResult> request = post(std::move(body), *token);
    const PostResult result = co_await request;
    if (!self)
        co_return Outcome{Outcome::Kind::Failed, {}, 0};
    if (result.kind == PostResult::Kind::QuotaExceeded)
        co_return Outcome{Outcome::Kind::QuotaExceeded, {}, 0};
    if (result.kind == PostResult::Kind::Failed)
        co_return Outcome{Outcome::Kind::Failed, {}, 0};

    // The service's raw text always gets the clean-up, whatever the user's setting.
    const QString cleaned = TextCleanup::clean(result.text);
    if (cleaned.isEmpty())
        co_return Outcome{Outcome::Kind::Failed, {}, 0};
    const double c = coverage(cleaned, local);
    if (c >= coverageThreshold)
        co_return Outcome{Outcome::Kind::Refined, cleaned, c};
    DebugLog::log(QStringLiteral("CloudOCR: coverage guard rejected %1 chars")
                      .arg(TextUtil::graphemeCount(cleaned)));
    co_return Outcome{Outcome::Kind::CoverageRejected, cleaned, c};
}

QCoro::Task<CloudOCR::PostResult> CloudOCR::post(QJsonObject body, QString token) {
    QPointer<CloudOCR> self(this);
    const CloudClient::Request request{"POST", m_client.apiUrl(QStringLiteral("ocr")),
                                       std::move(body), std::move(token), m_timeout};
    QCoro::Task<CloudClient::Response> sending = m_client.send(request);
    const CloudClient::Response response = co_await sending;
    if (!self)
        co_return PostResult{};
    co_return read(response.status, response.body);
}

CloudOCR::PostResult CloudOCR::read(int status, const QJsonObject& answer) {
    if (status == 0) {
        DebugLog::log(QStringLiteral("CloudOCR: network error / timeout"));
        return {};
    }
    if (status == 401) {
        // Not awaited: the refresh signs the user out if the token is really rejected.
        m_account.refresh();
        return {};
    }
    const std::optional<QString> error = CloudJson::string(answer, QStringLiteral("error"));
    if (status == 429 && error == QLatin1String("quota_exceeded"))
        return {PostResult::Kind::QuotaExceeded, {}};
    const std::optional<QString> text = CloudJson::string(answer, QStringLiteral("text"));
    if (status >= 200 && status <= 299 && text && !text->isEmpty()) {
        if (const std::optional<QJsonObject> usage =
                CloudJson::object(answer, QStringLiteral("usage"))) {
            const qint64 in = CloudJson::integer(*usage, QStringLiteral("inputTokens")).value_or(0);
            const qint64 out =
                CloudJson::integer(*usage, QStringLiteral("outputTokens")).value_or(0);
            const qint64 micros =
                CloudJson::integer(*usage, QStringLiteral("costMicros")).value_or(0);
            DebugLog::log(QStringLiteral("CloudOCR: usage in=%1 out=%2 cost=$%3")
                              .arg(in)
                              .arg(out)
                              .arg(QString::number(double(micros) / 1000000.0, 'f', 6)));
        }
        return {PostResult::Kind::Recognized, *text};
    }
    DebugLog::log(QStringLiteral("CloudOCR: HTTP %1 error=%2")
                      .arg(status)
                      .arg(error ? *error : QStringLiteral("-")));
    return {};
}

std::optional<QByteArray> CloudOCR::encodeJPEG(const QImage& image) {
    if (image.isNull())
        return std::nullopt;
    QImage sent = image;
    const int longer = std::max(image.width(), image.height());
    const double s = double(maxImageSide) / double(longer);
    if (s < 1) {
        const QSize size(int(image.width() * s), int(image.height() * s));
        // A side that would vanish leaves the image as it is.
        const QImage scaled =
            size.isEmpty() ? QImage()
                           : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!scaled.isNull())
            sent = scaled;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!sent.save(&buffer, "JPEG", jpegQuality) || bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

double CloudOCR::coverage(const QString& cloud, const QString& local) {
    const QList<QStringView> wanted = visibleGraphemes(cloud);
    if (wanted.isEmpty())
        return 0;
    QHash<QString, int> seen;
    for (QStringView grapheme : visibleGraphemes(local))
        ++seen[grapheme.toString()];
    qsizetype matched = 0;
    for (QStringView grapheme : wanted) {
        const auto found = seen.find(grapheme.toString());
        if (found != seen.end() && found.value() > 0) {
            --found.value();
            ++matched;
        }
    }
    return double(matched) / double(wanted.size());
}
