#include "core/CrashReporter.h"

CrashReporter& CrashReporter::shared() {
    static CrashReporter* instance = new CrashReporter();
    return *instance;
}

void CrashReporter::start() {}
