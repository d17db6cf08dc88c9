#pragma once

#include "app/AppCommand.h"
#include "core/AppSettings.h"
#include "core/CapturePipeline.h"
#include "core/CloudAccount.h"
#include "core/CloudSync.h"
#include "core/CrashReporter.h"
#include "core/ImproveReporter.h"
#include "core/OCREngine.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "core/TesterMode.h"
#include "support/DefaultsLanguageStore.h"
#include "support/GlobalHotKey.h"
#include "support/L10n.h"
#include "support/UpdaterController.h"
#include "ui/CaptureController.h"
#include "ui/HUDToast.h"
#include "ui/OnboardingWindowController.h"
#include "ui/ScreenRecordingAlert.h"
#include "ui/SelectionOverlayController.h"
#include "ui/SettingsWindowController.h"
#include "ui/StatusItemController.h"

#include <QObject>

#include <memory>

class Defaults;
class Platform;
class Recognition;

// The composition root: builds every long-lived service once and hands each its
// collaborators through its constructor, then starts them in the order of the start-up
// sequence. It also routes commands and sign-in addresses from other processes and writes
// what is pending at quit. One instance, GUI thread.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    // The settings store is read here, before anything else runs.
    AppDelegate(Platform& platform, Recognition& recognition, Defaults& defaults,
                QObject* parent = nullptr);
    ~AppDelegate() override;

    // The start-up sequence; runs once before the event loop starts.
    void applicationDidFinishLaunching();
    // A command from this process's own arguments or from a later `glintext` process.
    void handleCommand(const AppCommand& command);
    // A `glintext:` address (the browser's sign-in callback); anything unparsable is ignored.
    void handleUrl(const QString& text);
    // Writes what is still pending; connected to the application's aboutToQuit.
    void applicationWillTerminate();

    // Delay before the settings window greets a relaunch after a permission grant.
    static constexpr int permissionRelaunchDelayMs = 400;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installQuitShortcut();
    void createStatusItem();
    void registerShortcuts();
    void showFirstWindow(bool pendingPermissionRelaunch);
    void recordEnvironment();
    OnboardingWindowController& onboarding();

    Platform& m_platform;

    // Built in the constructor, each after what it needs. Nothing here acts on its own
    // before applicationDidFinishLaunching() starts it.
    AppSettings m_settings;
    OCRHistoryStore m_history;
    ImproveReporter m_improve;
    Permissions m_permissions;
    DefaultsLanguageStore m_languageStore;
    L10n m_l10n;
    OCREngine m_engine;
    CapturePipeline m_pipeline;
    HUDToast m_toast;
    SelectionOverlayController m_overlay;
    ScreenRecordingAlert m_permissionAlert;
    CaptureController m_capture;
    GlobalHotKey m_hotKey;
    SettingsWindowController m_settingsWindow;
    CloudAccount m_cloudAccount;
    CloudSync m_cloudSync;
    CrashReporter m_crashReporter;
    TesterMode m_testerMode;

    // Built at their step of the start-up (or on first use), and only when they are needed.
    std::unique_ptr<StatusItemController> m_statusItem;
    std::unique_ptr<OnboardingWindowController> m_onboarding;
    std::unique_ptr<UpdaterController> m_updater;
};
