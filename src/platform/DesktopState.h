#pragma once

#include <QColor>
#include <Qt>

#include <optional>

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
    // The text colour of the panel that shows the tray, where the desktop makes it known
    // (nothing where it does not: the toolkit's text colour is the best guess there). A
    // panel host draws the item's pixels as they are, so they must suit the panel.
    virtual std::optional<QColor> panelForeground() { return std::nullopt; }
};
