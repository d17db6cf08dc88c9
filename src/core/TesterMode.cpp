#include "core/TesterMode.h"

void TesterMode::start() {}
