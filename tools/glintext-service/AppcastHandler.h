#pragma once

#include "AppcastFeed.h"
#include "ServiceReply.h"
#include "ServiceRequest.h"

class ServiceRouter;
class ServiceStore;

// GET /appcast.xml: the update feed, with the items the operator or a test has set.
class AppcastHandler {
public:
    explicit AppcastHandler(ServiceStore& store);

    void addRoutes(ServiceRouter& router);
    ServiceReply feed(const ServiceRequest& request);

    QList<AppcastFeed::Item> items();
    void setItems(const QList<AppcastFeed::Item>& items);

private:
    ServiceStore& store_;
};
