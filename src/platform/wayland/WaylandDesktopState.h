#pragma once

#include "platform/xdg/XdgDesktopState.h"

// A Wayland session: every Wayland desktop composites.
class WaylandDesktopState : public XdgDesktopState {
public:
    bool isCompositing() override { return true; }
};
