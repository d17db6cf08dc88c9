#pragma once

#include "ServiceReply.h"
#include "ServiceRequest.h"

#include <QJsonObject>

#include <optional>

class BearerAuth;
class ServiceClock;
class ServiceRouter;
class ServiceStore;

// The diagnostics endpoints: crash reports, tester-mode logs, statistics batches and
// recognition samples. Each body is checked against its wire format and stored whole.
class ReportHandlers {
public:
    static constexpr int maxEventsPerBatch = 200;

    ReportHandlers(ServiceStore& store, ServiceClock& clock, BearerAuth& auth);

    void addRoutes(ServiceRouter& router);
    ServiceReply crash(const ServiceRequest& request);
    ServiceReply testLog(const ServiceRequest& request);
    ServiceReply improve(const ServiceRequest& request);
    ServiceReply sample(const ServiceRequest& request);

    // The first thing wrong with a batch's "events", or empty.
    static QString eventsViolation(const QJsonValue& events);

private:
    ServiceReply keep(const QString& kind, const QJsonObject& body,
                      std::optional<qint64> accountId);
    static ServiceReply invalidMember(const QString& member);

    ServiceStore& store_;
    ServiceClock& clock_;
    BearerAuth& auth_;
};
