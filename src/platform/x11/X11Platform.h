#pragma once

#include "platform/Platform.h"

#include <memory>

class CanberraSoundService;
class QtClipboardService;
class QtScreenGrabber;
class X11DesktopState;
class X11HotKeyService;
class X11ScreenPermission;
class XdgAutostartLoginItem;

// An X11 session: key grabs and screen reads through xcb, the toolkit's clipboard, sounds
// through libcanberra, XDG autostart.
class X11Platform : public Platform {
public:
    X11Platform();
    ~X11Platform() override;

    QString name() const override { return QStringLiteral("x11"); }
    Capabilities capabilities() const override;

    ScreenGrabber& screenGrabber() override;
    ScreenPermission& screenPermission() override;
    HotKeyService& hotKeys() override;
    ClipboardService& clipboard() override;
    SoundService& sound() override;
    LoginItem& loginItem() override;
    DesktopState& desktop() override;

private:
    std::unique_ptr<X11HotKeyService> m_hotKeys;
    std::unique_ptr<QtScreenGrabber> m_grabber;
    std::unique_ptr<X11ScreenPermission> m_permission;
    std::unique_ptr<QtClipboardService> m_clipboard;
    std::unique_ptr<CanberraSoundService> m_sound;
    std::unique_ptr<XdgAutostartLoginItem> m_loginItem;
    std::unique_ptr<X11DesktopState> m_desktop;
};
