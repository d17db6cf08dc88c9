#pragma once

#include "platform/Platform.h"

#include <memory>

class CanberraSoundService;
class DataControlClipboard;
class PortalGlobalShortcuts;
class PortalScreenGrabber;
class PortalScreenPermission;
class PortalScreenshot;
class QtClipboardService;
class WaylandDesktopState;
class XdgAutostartLoginItem;

// A Wayland session on Qt's native wayland platform: screen pictures and global shortcuts
// through the XDG desktop portals on the session bus, the clipboard through the compositor's
// data control where it offers it (else the toolkit's, which needs the keyboard focus),
// sounds through libcanberra, XDG autostart.
class WaylandPlatform : public Platform {
public:
    WaylandPlatform();
    ~WaylandPlatform() override;

    QString name() const override { return QStringLiteral("wayland"); }
    // Global shortcuts are claimed while the portal has not said no; screen pictures while
    // the Screenshot portal is there.
    Capabilities capabilities() const override;

    ScreenGrabber& screenGrabber() override;
    ScreenPermission& screenPermission() override;
    HotKeyService& hotKeys() override;
    ClipboardService& clipboard() override;
    SoundService& sound() override;
    LoginItem& loginItem() override;
    DesktopState& desktop() override;

private:
    std::unique_ptr<PortalScreenshot> m_screenshot;
    std::unique_ptr<PortalScreenGrabber> m_grabber;
    std::unique_ptr<PortalScreenPermission> m_permission;
    std::unique_ptr<PortalGlobalShortcuts> m_hotKeys;
    std::unique_ptr<QtClipboardService> m_toolkitClipboard;
    std::unique_ptr<DataControlClipboard> m_dataControlClipboard;
    std::unique_ptr<CanberraSoundService> m_sound;
    std::unique_ptr<XdgAutostartLoginItem> m_loginItem;
    std::unique_ptr<WaylandDesktopState> m_desktop;
};
