#include "core/CrashReporter.h"

void CrashReporter::start() {}
