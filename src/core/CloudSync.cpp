#include "core/CloudSync.h"

CloudSync& CloudSync::shared() {
    static CloudSync* instance = new CloudSync();
    return *instance;
}

void CloudSync::start() {}
