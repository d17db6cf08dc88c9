#pragma once

#include "platform/Platform.h"
#include "support/fakes/FakeClipboard.h"
#include "support/fakes/FakeDesktopState.h"
#include "support/fakes/FakeHotKeyService.h"
#include "support/fakes/FakeLoginItem.h"
#include "support/fakes/FakeScreenGrabber.h"
#include "support/fakes/FakeScreenPermission.h"
#include "support/fakes/FakeSound.h"

// A desktop session made of fakes, with the capabilities a test sets.
class FakePlatform : public Platform {
public:
    QString name() const override { return QStringLiteral("fake"); }
    Capabilities capabilities() const override { return caps; }

    ScreenGrabber& screenGrabber() override { return grabber; }
    ScreenPermission& screenPermission() override { return permission; }
    HotKeyService& hotKeys() override { return hotKeyService; }
    ClipboardService& clipboard() override { return clipboardService; }
    SoundService& sound() override { return soundService; }
    LoginItem& loginItem() override { return login; }
    DesktopState& desktop() override { return desktopState; }

    Capabilities caps;
    FakeScreenGrabber grabber;
    FakeScreenPermission permission;
    FakeHotKeyService hotKeyService;
    FakeClipboard clipboardService;
    FakeSound soundService;
    FakeLoginItem login;
    FakeDesktopState desktopState;
};
