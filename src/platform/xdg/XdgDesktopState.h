#pragma once

#include "platform/DesktopState.h"

// A freedesktop session: the motion switch of KDE or GNOME, the input state from the toolkit.
// Knows of no compositor; a backend that can tell overrides isCompositing().
class XdgDesktopState : public DesktopState {
public:
    bool isCompositing() override { return false; }
    bool reducesMotion() override;
    Qt::KeyboardModifiers keyboardModifiers() override;
    Qt::MouseButtons mouseButtons() override;
};
