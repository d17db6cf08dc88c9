#include "core/CloudAccount.h"

CloudAccount& CloudAccount::shared() {
    static CloudAccount* instance = new CloudAccount();
    return *instance;
}

void CloudAccount::start() {}

bool CloudAccount::handleCallback(const QUrl&) {
    return false;
}
