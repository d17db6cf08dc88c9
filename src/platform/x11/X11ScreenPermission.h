#pragma once

#include "platform/ScreenPermission.h"

// X11 lets every client read the root window: always granted, nothing to open.
class X11ScreenPermission : public ScreenPermission {
public:
    bool hasAccess() override { return true; }
    void requestAccess() override {}
    void openSettings() override {}
};
