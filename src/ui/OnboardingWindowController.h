#pragma once

#include <QObject>

// The first-run guide. Owned by the application delegate; the pages arrive with the
// onboarding work, until then show() does nothing.
class OnboardingWindowController : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void show(bool startAtPermissions);
    // Onboarding forced by the environment (GLINTEXT_ONBOARDING).
    static bool forcedByEnvironment();
};
