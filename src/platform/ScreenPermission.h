#pragma once

// The desktop's permission to read other applications' pixels.
class ScreenPermission {
public:
    virtual ~ScreenPermission() = default;
    // Never shows anything.
    virtual bool hasAccess() = 0;
    // Asks the desktop to prompt the user; the outcome is read later through hasAccess().
    virtual void requestAccess() = 0;
    // Opens the desktop's settings where the permission is granted.
    virtual void openSettings() = 0;
};
