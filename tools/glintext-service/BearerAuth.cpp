#include "BearerAuth.h"

#include "Pkce.h"
#include "ServiceRequest.h"

BearerAuth::BearerAuth(ServiceStore& store) : store_(store) {}

std::optional<ServiceStore::Account> BearerAuth::account(const ServiceRequest& request) const {
    const std::optional<QString> token = request.bearerToken();
    if (!token)
        return std::nullopt;
    return store_.accountForToken(Pkce::storageHash(*token));
}

ServiceReply BearerAuth::unauthorized() {
    ServiceReply reply = ServiceReply::error(401, "unauthorized");
    reply.addHeader("WWW-Authenticate", "Bearer");
    return reply;
}
