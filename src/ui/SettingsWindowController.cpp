#include "ui/SettingsWindowController.h"

void SettingsWindowController::show(Tab) {}
