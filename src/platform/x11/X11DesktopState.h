#pragma once

#include "platform/xdg/XdgDesktopState.h"

// An X11 session: composited while a compositing manager owns _NET_WM_CM_S<screen>.
class X11DesktopState : public XdgDesktopState {
public:
    bool isCompositing() override;
};
