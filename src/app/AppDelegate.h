#pragma once

#include "app/AppCommand.h"
#include "base/SystemClock.h"
#include "core/AppSettings.h"
#include "core/CapturePipeline.h"
#include "core/CloudAccount.h"
#include "core/CloudClient.h"
#include "core/CloudOCR.h"
#include "core/CloudSync.h"
#include "core/CrashReporter.h"
#include "core/ImproveReporter.h"
#include "core/Keychain.h"
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
#include "ui/StatusItemController.h"
#include "ui/UpdateDialog.h"
#include "ui/settings/SettingsWindowController.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>

#include <memory>

class CrashCatcher;
class Defaults;
class Platform;
class ProcessLog;
class Recognition;
class SecretStore;

// The composition root: builds every long-lived service once and hands each its
// collaborators through its constructor, then starts them in the order of the start-up
// sequence. It also routes commands and sign-in addresses from other processes and writes
// what is pending at quit. One instance, GUI thread.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    // The settings store is read here, before anything else runs. `secrets` is the keyring;
    // the cloud account reads its initial state from it here. `crashes` holds what earlier
    // runs' crashes left; `processLog` is this process's system log, for tester mode.
    AppDelegate(Platform& platform, Recognition& recognition, SecretStore& secrets,
                Defaults& defaults, CrashCatcher& crashes, ProcessLog& processLog,
                QObject* parent = nullptr);
    ~AppDelegate() override;

    // The start-up sequence; runs once before the event loop starts.
    void applicationDidFinishLaunching();
    // A command from this process's own arguments or from a later `glintext` process.
    void handleCommand(const AppCommand& command);
    // A `glintext:` address (the browser's sign-in callback); anything unparsable is ignored.
    // An accepted callback opens the settings window on its Account tab.
    void handleUrl(const QString& text);
    // Writes what is still pending; connected to the application's aboutToQuit. With
    // `finalUpload`, the statistics get their last flush (at most 2 seconds, running the
    // event loop); a run whose display is gone skips it.
    void applicationWillTerminate(bool finalUpload = true);

    SettingsWindowController& settingsWindow() { return m_settingsWindow; }

    // Delay before the settings window greets a relaunch after a permission grant.
    static constexpr int permissionRelaunchDelayMs = 400;
    // How long quitting waits for keyring writes still on their way (a sign-in just before).
    static constexpr std::chrono::milliseconds keyringFlushLimit{2000};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installQuitShortcut();
    void createStatusItem();
    void registerShortcuts();
    void showFirstWindow(bool pendingPermissionRelaunch);
    void recordEnvironment();
    OnboardingWindowController& onboarding();
    void startUpdater();
    void showUpdateResult(const UpdaterController::Result& result);

    Platform& m_platform;
    Defaults& m_defaults;

    // Built in the constructor, each after what it needs. Nothing here acts on its own
    // before applicationDidFinishLaunching() starts it.
    SystemClock m_clock;
    AppSettings m_settings;
    OCRHistoryStore m_history;
    Permissions m_permissions;
    DefaultsLanguageStore m_languageStore;
    L10n m_l10n;
    OCREngine m_engine;
    QNetworkAccessManager m_network; // the one manager every cloud request goes through
    CloudClient m_cloudClient;
    Keychain m_keychain;
    ImproveReporter m_improve;
    CloudAccount m_cloudAccount;
    CloudOCR m_cloudOCR;
    CapturePipeline m_pipeline;
    HUDToast m_toast;
    SelectionOverlayController m_overlay;
    ScreenRecordingAlert m_permissionAlert;
    CaptureController m_capture;
    GlobalHotKey m_hotKey;
    CloudSync m_cloudSync;
    CrashReporter m_crashReporter;
    TesterMode m_testerMode;
    SettingsWindowController m_settingsWindow;

    // Built at their step of the start-up (or on first use), and only when they are needed.
    std::unique_ptr<StatusItemController> m_statusItem;
    std::unique_ptr<OnboardingWindowController> m_onboarding;
    std::unique_ptr<UpdaterController> m_updater;
    QPointer<UpdateDialog> m_updateDialog; // the one open, if any
};
