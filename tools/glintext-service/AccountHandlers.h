#pragma once

#include "ServiceReply.h"
#include "ServiceRequest.h"

class BearerAuth;
class ServiceClock;
class ServiceRouter;
class ServiceStore;

// The browser sign-in and the account endpoints: the e-mail page, its redirect with a
// one-time code, the code exchange (PKCE S256), account details and sign-out.
class AccountHandlers {
public:
    static constexpr qint64 codeLifetimeSeconds = 600;

    AccountHandlers(ServiceStore& store, ServiceClock& clock, BearerAuth& auth,
                    QString callbackScheme);

    void addRoutes(ServiceRouter& router);

    ServiceReply connectPage(const ServiceRequest& request);
    ServiceReply connectSubmit(const ServiceRequest& request);
    ServiceReply exchange(const ServiceRequest& request);
    ServiceReply me(const ServiceRequest& request);
    ServiceReply logout(const ServiceRequest& request);

private:
    ServiceStore& store_;
    ServiceClock& clock_;
    BearerAuth& auth_;
    QString callbackScheme_;
};
