#pragma once

#include <chrono>

class AppSettings;
class Clock;
class CloudAccount;
class CloudSync;
class L10n;
class OCRHistoryStore;
class Permissions;
class TesterMode;
class UpdaterController;

// What the settings window's tabs work with, handed over once by the application and kept
// by the window controller for every window it builds.
struct SettingsServices {
    AppSettings& settings;
    L10n& l10n;
    OCRHistoryStore& history;
    Permissions& permissions;
    CloudAccount& account;
    CloudSync& sync;
    TesterMode& testerMode;
    const Clock& clock;
    // How often the Permissions tab re-reads the permission while it is on screen.
    std::chrono::milliseconds permissionPoll{1500};
    // The update controller, only in a build with an update feed (set through
    // SettingsWindowController::setUpdater()).
    UpdaterController* updater = nullptr;
};
