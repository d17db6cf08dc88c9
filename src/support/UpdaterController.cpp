#include "support/UpdaterController.h"

#include "BuildConfig.h"

#include <cstring>

bool UpdaterController::feedConfigured() {
    return std::strlen(BuildConfig::feedUrl) > 0;
}

void UpdaterController::checkForUpdates() {}
