#pragma once

#include <Qt>

// What the desktop says right now. Asked afresh on every call: a compositor can start or
// stop, and a setting can change, at any time. GUI thread.
class DesktopState {
public:
    virtual ~DesktopState() = default;
    // Whether windows are composited, i.e. whether a translucent window really shows what
    // lies below it.
    virtual bool isCompositing() = 0;
    // Whether the user asked applications not to animate.
    virtual bool reducesMotion() = 0;
    // The modifier keys and mouse buttons held down now.
    virtual Qt::KeyboardModifiers keyboardModifiers() = 0;
    virtual Qt::MouseButtons mouseButtons() = 0;
};
