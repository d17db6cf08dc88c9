#pragma once

#include "platform/CrashCatcher.h"

// Crashes of earlier runs that a test lays out; handed over once, as the real catcher does.
class FakeCrashCatcher : public CrashCatcher {
public:
    void install() override { installed = true; }
    QList<CrashDiagnostic> takeDiagnostics() override { return std::exchange(pending, {}); }

    bool installed = false;
    QList<CrashDiagnostic> pending;
};
