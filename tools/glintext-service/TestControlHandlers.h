#pragma once

#include "ServiceReply.h"
#include "ServiceRequest.h"

class AppcastHandler;
class ServiceClock;
class ServiceRouter;
class ServiceStore;

// The controls tests drive the service with (only with --test-controls, only from
// loopback): what each path received, canned answers and delays for the next requests
// to a path, accounts with tokens made directly, the clock, the update feed.
class TestControlHandlers {
public:
    TestControlHandlers(ServiceStore& store, ServiceClock& clock, AppcastHandler& appcast);

    void addRoutes(ServiceRouter& router);
    ServiceReply received(const ServiceRequest& request);
    ServiceReply clearReceived(const ServiceRequest& request);
    ServiceReply queueAnswer(const ServiceRequest& request);
    ServiceReply clearAnswers(const ServiceRequest& request);
    ServiceReply createAccount(const ServiceRequest& request);
    ServiceReply advanceClock(const ServiceRequest& request);
    ServiceReply setAppcast(const ServiceRequest& request);
    ServiceReply reports(const ServiceRequest& request);

private:
    ServiceStore& store_;
    ServiceClock& clock_;
    AppcastHandler& appcast_;
};
