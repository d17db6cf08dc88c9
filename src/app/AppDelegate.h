#pragma once

#include "app/AppCommand.h"

#include <QObject>

class AppSettings;
class OnboardingWindowController;
class StatusItemController;

// Starts every long-lived service in a fixed order, routes commands and sign-in addresses
// from other processes, and saves what is pending at quit. One instance, GUI thread.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // The start-up sequence; runs once before the event loop starts.
    void applicationDidFinishLaunching();
    // A command from this process's own arguments or from a later `glintext` process.
    void handleCommand(const AppCommand& command);
    // A `glintext:` address (the browser's sign-in callback); anything unparsable is ignored.
    void handleUrl(const QString& text);
    // Writes what is still pending; connected to the application's aboutToQuit.
    void applicationWillTerminate();

    OnboardingWindowController& onboarding();
    StatusItemController* statusItem() const { return m_statusItem; }

    // Delay before the settings window greets a relaunch after a permission grant.
    static constexpr int permissionRelaunchDelayMs = 400;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installEditMenu();
    void createStatusItem();
    void showFirstWindow(bool pendingPermissionRelaunch);
    void recordEnvironment();

    AppSettings& m_settings;
    StatusItemController* m_statusItem = nullptr;
    OnboardingWindowController* m_onboarding = nullptr;
};
