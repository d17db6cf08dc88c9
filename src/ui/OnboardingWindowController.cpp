#include "ui/OnboardingWindowController.h"

void OnboardingWindowController::show(bool) {}

bool OnboardingWindowController::forcedByEnvironment() {
    return false;
}
