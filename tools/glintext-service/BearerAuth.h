#pragma once

#include "ServiceReply.h"
#include "ServiceStore.h"

#include <optional>

struct ServiceRequest;

// Resolves the bearer token of a request to its account.
class BearerAuth {
public:
    explicit BearerAuth(ServiceStore& store);

    // The account of a present, known and unrevoked token.
    std::optional<ServiceStore::Account> account(const ServiceRequest& request) const;
    // The answer for a missing, unknown or revoked token.
    static ServiceReply unauthorized();

private:
    ServiceStore& store_;
};
