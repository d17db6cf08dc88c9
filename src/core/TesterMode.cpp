#include "core/TesterMode.h"

TesterMode& TesterMode::shared() {
    static TesterMode* instance = new TesterMode();
    return *instance;
}

void TesterMode::start() {}
