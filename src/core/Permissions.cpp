#include "core/Permissions.h"

#include "core/Defaults.h"
#include "platform/ScreenPermission.h"

#include <QDateTime>

namespace {

const QString flowKey = QStringLiteral("permissionFlowStartedAt");

ScreenPermission* overrideService = nullptr;
bool prompted = false;

ScreenPermission& service() {
    return overrideService ? *overrideService : ScreenPermission::system();
}

double nowSeconds() {
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

void recordFlowStartIfMissing() {
    if (!service().hasAccess())
        Defaults::standard().setDouble(flowKey, nowSeconds());
}

} // namespace

namespace Permissions {

bool hasScreenRecording() {
    return service().hasAccess();
}

bool didPromptScreenRecording() {
    return prompted;
}

void requestScreenRecording() {
    recordFlowStartIfMissing();
    // The desktop shows its prompt once anyway; asking again would do nothing visible.
    if (!prompted) {
        prompted = true;
        service().requestAccess();
    }
}

void openScreenRecordingSettings() {
    recordFlowStartIfMissing();
    service().openSettings();
}

bool consumePendingPermissionRelaunch() {
    Defaults& defaults = Defaults::standard();
    const double started = defaults.doubleValue(flowKey).value_or(0.0);
    if (!(started > 0.0))
        return false;
    defaults.remove(flowKey);
    // A time in the future gives a negative age and still counts as recent.
    return nowSeconds() - started < pendingFlowWindowSeconds;
}

void setServiceForTesting(ScreenPermission* replacement) {
    overrideService = replacement;
}

void resetPromptForTesting() {
    prompted = false;
}

} // namespace Permissions
