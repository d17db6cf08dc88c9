#include "platform/null/NullPlatform.h"

#include "platform/DesktopState.h"
#include "platform/HotKeyService.h"
#include "platform/ScreenGrabber.h"
#include "platform/ScreenPermission.h"
#include "platform/SoundService.h"
#include "platform/qt/QtClipboardService.h"
#include "platform/xdg/XdgAutostartLoginItem.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// The screens exist, their pixels cannot be read: a capture fails the way a refused read does.
class NoScreenGrabber : public ScreenGrabber {
public:
    QList<ScreenFrame> grabScreens() override {
        QList<ScreenFrame> frames;
        for (const QScreen* screen : QGuiApplication::screens()) {
            ScreenFrame frame;
            frame.geometry = screen->geometry();
            frame.devicePixelRatio = screen->devicePixelRatio();
            frame.error = QStringLiteral("This desktop gives no access to the screen.");
            frames.append(frame);
        }
        return frames;
    }
};

// Nothing to ask for and nowhere to send the user.
class NoScreenPermission : public ScreenPermission {
public:
    bool hasAccess() override { return true; }
    void requestAccess() override {}
    void openSettings() override {}
};

// Stands in where no global shortcuts exist; the command line still reaches the app.
class NoHotKeyService : public HotKeyService {
public:
    bool registerHotKey(quint32, Qt::Key, Qt::KeyboardModifiers) override { return false; }
    void unregisterHotKey(quint32) override {}
};

class NoSound : public SoundService {
public:
    void play(const QString&) override {}
};

class PlainDesktop : public DesktopState {
public:
    bool isCompositing() override { return false; }
    bool reducesMotion() override { return false; }
    Qt::KeyboardModifiers keyboardModifiers() override {
        return QGuiApplication::queryKeyboardModifiers();
    }
    Qt::MouseButtons mouseButtons() override { return QGuiApplication::mouseButtons(); }
};

} // namespace

struct NullPlatform::Inert {
    NoScreenGrabber grabber;
    NoScreenPermission permission;
    NoHotKeyService hotKeys;
    NoSound sound;
    PlainDesktop desktop;
};

NullPlatform::NullPlatform()
    : m_inert(std::make_unique<Inert>()), m_clipboard(std::make_unique<QtClipboardService>()),
      m_loginItem(std::make_unique<XdgAutostartLoginItem>()) {}

NullPlatform::~NullPlatform() = default;

ScreenGrabber& NullPlatform::screenGrabber() {
    return m_inert->grabber;
}

ScreenPermission& NullPlatform::screenPermission() {
    return m_inert->permission;
}

HotKeyService& NullPlatform::hotKeys() {
    return m_inert->hotKeys;
}

ClipboardService& NullPlatform::clipboard() {
    return *m_clipboard;
}

SoundService& NullPlatform::sound() {
    return m_inert->sound;
}

LoginItem& NullPlatform::loginItem() {
    return *m_loginItem;
}

DesktopState& NullPlatform::desktop() {
    return m_inert->desktop;
}
