#pragma once

#include "platform/DesktopState.h"

// A freedesktop session: the motion switch of KDE or GNOME, the input state from the toolkit,
// GNOME's dark top bar. Knows of no compositor; a backend that can tell overrides
// isCompositing().
class XdgDesktopState : public DesktopState {
public:
    bool isCompositing() override { return false; }
    bool reducesMotion() override;
    Qt::KeyboardModifiers keyboardModifiers() override;
    Qt::MouseButtons mouseButtons() override;
    // Light on GNOME, whose top bar is dark in the shell's own theme whatever the colour
    // scheme (its Classic session's bar is light): the AppIndicator extension shows the
    // item's pixels unchanged there. Nothing elsewhere.
    std::optional<QColor> panelForeground() override;
};
