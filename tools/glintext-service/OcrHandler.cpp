#include "OcrHandler.h"

#include "BearerAuth.h"
#include "OcrLanguages.h"
#include "PageRecognizer.h"
#include "ServiceClock.h"
#include "ServiceRouter.h"
#include "ServiceStore.h"
#include "StorageError.h"

#include <QBuffer>
#include <QImageReader>
#include <QJsonObject>
#include <QtConcurrent>

namespace {

// Larger images than any client sends are refused before they are decoded.
constexpr int maxImageSide = 8192;

} // namespace

OcrHandler::OcrHandler(ServiceStore& store, ServiceClock& clock, BearerAuth& auth, int dailyQuota,
                       QStringList defaultLanguages, QObject* parent)
    : QObject(parent), store_(store), clock_(clock), auth_(auth), dailyQuota_(dailyQuota),
      defaultLanguages_(std::move(defaultLanguages)),
      installedLanguages_(OcrLanguages::installed(OcrLanguages::tessdataDir())) {
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    // Idle threads keep their warm engines for a while.
    pool_.setExpiryTimeout(5 * 60 * 1000);
}

void OcrHandler::addRoutes(ServiceRouter& router) {
    router.add("POST", "/api/ocr",
               [this](const ServiceRequest& request) { return recognize(request); });
}

QFuture<ServiceReply> OcrHandler::recognize(const ServiceRequest& request) {
    const std::optional<ServiceStore::Account> account = auth_.account(request);
    if (!account)
        return ServiceRouter::ready(BearerAuth::unauthorized());
    const std::optional<QJsonObject> body = request.jsonObject();
    if (!body)
        return ServiceRouter::ready(ServiceReply::error(400, "invalid_json"));
    const QJsonValue image = body->value("image");
    const QJsonValue transcript = body->value("transcript");
    if (!image.isString() || !(transcript.isUndefined() || transcript.isString()))
        return ServiceRouter::ready(ServiceReply::error(400, "invalid_request"));
    const std::optional<QImage> decoded = decodeJpeg(image.toString());
    if (!decoded)
        return ServiceRouter::ready(ServiceReply::error(400, "bad_image"));
    const QStringList languages =
        OcrLanguages::choose(transcript.toString(), defaultLanguages_, installedLanguages_);
    if (languages.isEmpty())
        return ServiceRouter::ready(ServiceReply::error(503, "ocr_unavailable"));

    const QString day = clock_.day();
    if (!store_.takeQuota(account->id, day, dailyQuota_))
        return ServiceRouter::ready(ServiceReply::error(429, "quota_exceeded"));

    const QImage page = *decoded;
    const qint64 accountId = account->id;
    return QtConcurrent::run(&pool_,
                             [page, languages] { return PageRecognizer::read(page, languages); })
        .then(this, [this, accountId, day, size = page.size()](std::optional<QString> text) {
            if (text)
                return ServiceReply::json({{"text", *text}, {"usage", usage(size, *text)}});
            try {
                store_.returnQuota(accountId, day);
            } catch (const StorageError& error) {
                qWarning("glintext-service: %s", error.what());
            }
            return ServiceReply::error(503, "ocr_unavailable");
        });
}

std::optional<QImage> OcrHandler::decodeJpeg(const QString& base64) {
    const auto decoded =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const QByteArray bytes = decoded.decoded;
    if (!decoded || !bytes.startsWith("\xFF\xD8\xFF"))
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > maxImageSide || size.height() > maxImageSide)
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

QJsonObject OcrHandler::usage(const QSize& imageSize, const QString& text) {
    // A vision model's bill: one input token per 28x28 patch, one output token per four
    // bytes of text, and a price per token of each kind.
    const qint64 inputTokens = (qint64(imageSize.width()) * imageSize.height() + 783) / 784;
    const qint64 outputTokens = (text.toUtf8().size() + 3) / 4;
    return {{"inputTokens", inputTokens},
            {"outputTokens", outputTokens},
            {"costMicros", inputTokens * 3 + outputTokens * 15}};
}
