#include "core/CloudAccount.h"

void CloudAccount::start() {}

bool CloudAccount::handleCallback(const QUrl&) {
    return false;
}
