#pragma once

#include <QString>

class ClipboardService;
class DesktopState;
class HotKeyService;
class LoginItem;
class ScreenGrabber;
class ScreenPermission;
class SoundService;

// Everything the application needs from one desktop session, from one backend (x11/,
// null/, ...). PlatformLoader picks the backend; callers ask capabilities(), never which
// backend they run on. The services live as long as the Platform. GUI thread.
class Platform {
public:
    struct Capabilities {
        // Shortcuts reach the application wherever the focus is.
        bool globalShortcuts = false;
        // The screen grabber returns the pixels on the screens.
        bool screenCapture = false;
        // A window may take the pointer and keyboard for itself, and the window system may
        // refuse for a moment while another client holds them (so the taker retries).
        bool exclusiveInputGrabs = false;
    };

    virtual ~Platform() = default;

    // "x11", "null": for diagnostics and tests, not for decisions.
    virtual QString name() const = 0;
    virtual Capabilities capabilities() const = 0;

    virtual ScreenGrabber& screenGrabber() = 0;
    virtual ScreenPermission& screenPermission() = 0;
    virtual HotKeyService& hotKeys() = 0;
    virtual ClipboardService& clipboard() = 0;
    virtual SoundService& sound() = 0;
    virtual LoginItem& loginItem() = 0;
    virtual DesktopState& desktop() = 0;
};
