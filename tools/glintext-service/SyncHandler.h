#pragma once

#include "ServiceReply.h"
#include "ServiceRequest.h"

class BearerAuth;
class ServiceClock;
class ServiceRouter;
class ServiceStore;

// GET and PUT /api/sync/glintext: one settings document per account with a version the
// service counts; an upload is taken only on top of the version it names.
class SyncHandler {
public:
    SyncHandler(ServiceStore& store, ServiceClock& clock, BearerAuth& auth);

    void addRoutes(ServiceRouter& router);
    ServiceReply download(const ServiceRequest& request);
    ServiceReply upload(const ServiceRequest& request);

private:
    ServiceStore& store_;
    ServiceClock& clock_;
    BearerAuth& auth_;
};
