#include "core/CloudSync.h"

void CloudSync::start() {}
