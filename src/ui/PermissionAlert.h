#pragma once

// Tells the user that the screen may not be read and offers the desktop's settings.
// ScreenRecordingAlert is the one the application shows.
class PermissionAlert {
public:
    virtual ~PermissionAlert() = default;
    // Returns when the user has answered.
    virtual void present() = 0;
};
