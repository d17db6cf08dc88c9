#pragma once

#include "platform/ScreenGrabber.h"

// Reads each screen's root-window area through the platform plugin (xcb GetImage on X11),
// at device-pixel resolution and without the cursor.
class QtScreenGrabber : public ScreenGrabber {
public:
    QList<ScreenFrame> grabScreens() override;
};
