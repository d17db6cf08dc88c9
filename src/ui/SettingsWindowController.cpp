#include "ui/SettingsWindowController.h"

void SettingsWindowController::show(Tab tab) {
    Q_EMIT shown(tab);
}
