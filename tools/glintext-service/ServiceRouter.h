#pragma once

#include "ServiceReply.h"
#include "ServiceRequest.h"
#include "ServiceStore.h"

#include <QFuture>
#include <QHash>
#include <QObject>

#include <functional>

class BearerAuth;
class ServiceClock;

// Finds the handler of a request by method and exact path. With test controls on it
// also records every request and plays queued canned answers and delays first; the
// test-control paths under /test/ answer only then, and only to loopback peers.
class ServiceRouter : public QObject {
public:
    using Handler = std::function<QFuture<ServiceReply>(const ServiceRequest&)>;

    ServiceRouter(ServiceStore& store, BearerAuth& auth, ServiceClock& clock, bool testControls,
                  QObject* parent = nullptr);

    void add(const QByteArray& method, const QString& path, Handler handler);
    // Never fails: storage trouble becomes a 503 answer.
    QFuture<ServiceReply> dispatch(const ServiceRequest& request);

    static QFuture<ServiceReply> ready(ServiceReply reply);
    static bool isTestControlPath(const QString& path);

private:
    struct Route {
        QByteArray method;
        Handler handler;
    };

    QFuture<ServiceReply> recordAndAnswer(const ServiceRequest& request);
    QFuture<ServiceReply> answer(const ServiceRequest& request);
    QFuture<ServiceReply> route(const ServiceRequest& request);
    QFuture<ServiceReply> afterDelay(int ms, std::function<QFuture<ServiceReply>()> next);
    ServiceStore::ReceivedRequest describe(const ServiceRequest& request);
    void recordStatus(qint64 id, int status);
    static ServiceReply storageFailure(const std::exception& error);

    ServiceStore& store_;
    BearerAuth& auth_;
    ServiceClock& clock_;
    bool testControls_;
    QHash<QString, QList<Route>> routes_;
};
