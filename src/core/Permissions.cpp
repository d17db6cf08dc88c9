#include "core/Permissions.h"

#include "core/Defaults.h"
#include "platform/ScreenPermission.h"

#include <QDateTime>

namespace {

const QString flowKey = QStringLiteral("permissionFlowStartedAt");

double nowSeconds() {
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

} // namespace

Permissions::Permissions(ScreenPermission& service, Defaults& defaults)
    : m_service(service), m_defaults(defaults) {}

bool Permissions::hasScreenRecording() const {
    return m_service.hasAccess();
}

void Permissions::recordFlowStartIfMissing() {
    if (!m_service.hasAccess())
        m_defaults.setDouble(flowKey, nowSeconds());
}

void Permissions::requestScreenRecording() {
    recordFlowStartIfMissing();
    // The desktop shows its prompt once anyway; asking again would do nothing visible.
    if (!m_prompted) {
        m_prompted = true;
        m_service.requestAccess();
    }
}

void Permissions::openScreenRecordingSettings() {
    recordFlowStartIfMissing();
    m_service.openSettings();
}

bool Permissions::consumePendingPermissionRelaunch() {
    const double started = m_defaults.doubleValue(flowKey).value_or(0.0);
    if (!(started > 0.0))
        return false;
    m_defaults.remove(flowKey);
    // A time in the future gives a negative age and still counts as recent.
    return nowSeconds() - started < pendingFlowWindowSeconds;
}
