#include "support/UpdaterController.h"

#include "BuildConfig.h"

#include <cstring>

bool UpdaterController::feedConfigured() {
    return std::strlen(BuildConfig::feedUrl) > 0;
}

UpdaterController& UpdaterController::shared() {
    static UpdaterController* instance = new UpdaterController();
    return *instance;
}

void UpdaterController::checkForUpdates() {}
