#pragma once

#include "ServiceReply.h"
#include "ServiceRequest.h"

#include <QFuture>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QThreadPool>

#include <optional>

class BearerAuth;
class ServiceClock;
class ServiceRouter;
class ServiceStore;

// POST /api/ocr: one high-accuracy reading of a JPEG, counted against the account's
// daily quota. Recognition runs on its own thread pool; the quota is taken before it
// starts (one conditional statement) and given back when it cannot run.
class OcrHandler : public QObject {
public:
    OcrHandler(ServiceStore& store, ServiceClock& clock, BearerAuth& auth, int dailyQuota,
               QStringList defaultLanguages, QObject* parent = nullptr);

    void addRoutes(ServiceRouter& router);
    QFuture<ServiceReply> recognize(const ServiceRequest& request);

    // The standard-base64 JPEG of a request; nothing when it is not one.
    static std::optional<QImage> decodeJpeg(const QString& base64);
    // Stand-in usage figures in the shape the clients log.
    static QJsonObject usage(const QSize& imageSize, const QString& text);

private:
    ServiceStore& store_;
    ServiceClock& clock_;
    BearerAuth& auth_;
    int dailyQuota_;
    QStringList defaultLanguages_;
    QSet<QString> installedLanguages_;
    QThreadPool pool_;
};
