#include "platform/wayland/WaylandPlatform.h"

#include "platform/canberra/CanberraSoundService.h"
#include "platform/qt/QtClipboardService.h"
#include "platform/wayland/DataControlClipboard.h"
#include "platform/wayland/PortalGlobalShortcuts.h"
#include "platform/wayland/PortalScreenGrabber.h"
#include "platform/wayland/PortalScreenPermission.h"
#include "platform/wayland/PortalScreenshot.h"
#include "platform/wayland/WaylandDesktopState.h"
#include "platform/xdg/XdgAutostartLoginItem.h"

#include <QDBusConnection>

WaylandPlatform::WaylandPlatform()
    : m_screenshot(std::make_unique<PortalScreenshot>(QDBusConnection::sessionBus())),
      m_grabber(std::make_unique<PortalScreenGrabber>(*m_screenshot)),
      m_permission(std::make_unique<PortalScreenPermission>(*m_screenshot)),
      m_hotKeys(std::make_unique<PortalGlobalShortcuts>(QDBusConnection::sessionBus())),
      m_toolkitClipboard(std::make_unique<QtClipboardService>()),
      m_dataControlClipboard(DataControlClipboard::connect(*m_toolkitClipboard)),
      m_sound(std::make_unique<CanberraSoundService>()),
      m_loginItem(std::make_unique<XdgAutostartLoginItem>()),
      m_desktop(std::make_unique<WaylandDesktopState>(qEnvironmentVariable("SWAYSOCK"))) {}

WaylandPlatform::~WaylandPlatform() = default;

Platform::Capabilities WaylandPlatform::capabilities() const {
    Capabilities capabilities;
    capabilities.globalShortcuts = m_hotKeys->state() != PortalGlobalShortcuts::State::Unavailable;
    capabilities.screenCapture = m_screenshot->presence() != PortalScreenshot::Presence::Missing;
    // Wayland gives no client the whole pointer or keyboard; the focused window has them.
    capabilities.exclusiveInputGrabs = false;
    return capabilities;
}

ScreenGrabber& WaylandPlatform::screenGrabber() {
    return *m_grabber;
}

ScreenPermission& WaylandPlatform::screenPermission() {
    return *m_permission;
}

HotKeyService& WaylandPlatform::hotKeys() {
    return *m_hotKeys;
}

ClipboardService& WaylandPlatform::clipboard() {
    if (m_dataControlClipboard)
        return *m_dataControlClipboard;
    return *m_toolkitClipboard;
}

SoundService& WaylandPlatform::sound() {
    return *m_sound;
}

LoginItem& WaylandPlatform::loginItem() {
    return *m_loginItem;
}

DesktopState& WaylandPlatform::desktop() {
    return *m_desktop;
}
