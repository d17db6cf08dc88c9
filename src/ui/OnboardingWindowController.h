#pragma once

#include "ui/onboarding/OKStep.h"
#include "ui/onboarding/OnboardingPages.h"

#include <QObject>

#include <chrono>
#include <memory>

class AppSettings;
class L10n;
class OnboardingKitController;
class Permissions;

// The first-run guide: welcome, the screen permission, how capturing works, and the choices
// (launch at login, statistics, crash reports). Owned by the application delegate. Finishing
// the guide and closing its window both mark onboarding as completed; the next show() builds
// the guide afresh.
class OnboardingWindowController : public QObject {
    Q_OBJECT
public:
    OnboardingWindowController(AppSettings& settings, Permissions& permissions, L10n& l10n,
                               QObject* parent = nullptr);
    ~OnboardingWindowController() override;

    // Opens the guide at its first page, or at the permission page; an open guide only comes
    // forward.
    void show(bool startAtPermissions);
    // Onboarding forced by the environment ("KORVANE_ONBOARDING" set to "1").
    static bool forcedByEnvironment();

    // The guide while it exists, for tests: its window and pages.
    OnboardingKitController* kit() const { return m_kit.get(); }
    // For tests: how often the permission page re-reads the permission.
    void setTickInterval(std::chrono::milliseconds interval) { m_tickInterval = interval; }

private:
    QList<OKStep> makeSteps();
    bool allow();
    void completed();

    AppSettings& m_settings;
    Permissions& m_permissions;
    L10n& m_l10n;
    OnboardingPages m_pages;
    std::chrono::milliseconds m_tickInterval{1000};
    std::unique_ptr<OnboardingKitController> m_kit;
};
