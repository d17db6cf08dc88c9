#pragma once

#include "ui/PermissionAlert.h"

class L10n;
class Permissions;

// A modal warning with "open settings" and "later"; the first opens the desktop's settings.
// A trigger while it is open does not stack a second one on top of it.
class ScreenRecordingAlert : public PermissionAlert {
public:
    ScreenRecordingAlert(const L10n& l10n, Permissions& permissions);
    void present() override;

private:
    const L10n& m_l10n;
    Permissions& m_permissions;
    bool m_showing = false;
};
