#include "platform/x11/X11Platform.h"

#include "platform/canberra/CanberraSoundService.h"
#include "platform/qt/QtClipboardService.h"
#include "platform/qt/QtScreenGrabber.h"
#include "platform/x11/X11DesktopState.h"
#include "platform/x11/X11HotKeyService.h"
#include "platform/x11/X11ScreenPermission.h"
#include "platform/xdg/XdgAutostartLoginItem.h"

X11Platform::X11Platform()
    : m_hotKeys(std::make_unique<X11HotKeyService>()),
      m_grabber(std::make_unique<QtScreenGrabber>()),
      m_permission(std::make_unique<X11ScreenPermission>()),
      m_clipboard(std::make_unique<QtClipboardService>()),
      m_sound(std::make_unique<CanberraSoundService>()),
      m_loginItem(std::make_unique<XdgAutostartLoginItem>()),
      m_desktop(std::make_unique<X11DesktopState>()) {}

X11Platform::~X11Platform() = default;

Platform::Capabilities X11Platform::capabilities() const {
    Capabilities capabilities;
    // Without a connection of its own (no $DISPLAY) there are no key grabs.
    capabilities.globalShortcuts = m_hotKeys->isValid();
    capabilities.screenCapture = true;
    capabilities.exclusiveInputGrabs = true;
    return capabilities;
}

ScreenGrabber& X11Platform::screenGrabber() {
    return *m_grabber;
}

ScreenPermission& X11Platform::screenPermission() {
    return *m_permission;
}

HotKeyService& X11Platform::hotKeys() {
    return *m_hotKeys;
}

ClipboardService& X11Platform::clipboard() {
    return *m_clipboard;
}

SoundService& X11Platform::sound() {
    return *m_sound;
}

LoginItem& X11Platform::loginItem() {
    return *m_loginItem;
}

DesktopState& X11Platform::desktop() {
    return *m_desktop;
}
