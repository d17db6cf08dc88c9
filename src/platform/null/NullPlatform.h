#pragma once

#include "platform/Platform.h"

#include <memory>

class QtClipboardService;
class XdgAutostartLoginItem;

// A session without a usable desktop (the offscreen toolkit platform, a test, a desktop no
// backend knows): no shortcuts, no screen pixels, no sound. The clipboard is the toolkit's
// and the login item is the user's XDG autostart entry, as on any desktop.
class NullPlatform : public Platform {
public:
    NullPlatform();
    ~NullPlatform() override;

    QString name() const override { return QStringLiteral("null"); }
    Capabilities capabilities() const override { return {}; }

    ScreenGrabber& screenGrabber() override;
    ScreenPermission& screenPermission() override;
    HotKeyService& hotKeys() override;
    ClipboardService& clipboard() override;
    SoundService& sound() override;
    LoginItem& loginItem() override;
    DesktopState& desktop() override;

private:
    struct Inert;
    std::unique_ptr<Inert> m_inert;
    std::unique_ptr<QtClipboardService> m_clipboard;
    std::unique_ptr<XdgAutostartLoginItem> m_loginItem;
};
