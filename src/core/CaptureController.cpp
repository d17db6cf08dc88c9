#include "core/CaptureController.h"

CaptureController& CaptureController::shared() {
    static CaptureController* instance = new CaptureController();
    return *instance;
}

void CaptureController::beginCapture(bool) {}
