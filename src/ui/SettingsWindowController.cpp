#include "ui/SettingsWindowController.h"

SettingsWindowController& SettingsWindowController::shared() {
    static SettingsWindowController* instance = new SettingsWindowController();
    return *instance;
}

void SettingsWindowController::show(Tab) {}
