#include "platform/wayland/PortalScreenPermission.h"

#include "platform/wayland/PortalScreenshot.h"

PortalScreenPermission::PortalScreenPermission(PortalScreenshot& portal) : m_portal(portal) {
    m_portal.probe();
}

bool PortalScreenPermission::hasAccess() {
    if (m_portal.presence() == PortalScreenshot::Presence::Missing) {
        // A portal started after the application shows up at a later call.
        m_portal.probe();
        return false;
    }
    return !m_portal.lastRefused();
}

void PortalScreenPermission::requestAccess() {
    // The outcome is kept by the portal object and read back through hasAccess().
    m_portal.take({});
}

void PortalScreenPermission::openSettings() {
    requestAccess();
}
