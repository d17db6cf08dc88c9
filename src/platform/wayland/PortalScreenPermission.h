#pragma once

#include "platform/ScreenPermission.h"

class PortalScreenshot;

// On Wayland the Screenshot portal stands between the application and the screen: access
// is there while the portal is, unless the user refused the last request. A request for
// the permission is a screenshot request whose picture is thrown away: desktops that ask
// (GNOME) show their own dialog for it; others answer at once.
class PortalScreenPermission : public ScreenPermission {
public:
    explicit PortalScreenPermission(PortalScreenshot& portal);

    // Until the portal has answered the first probe, access is assumed: a missing portal
    // shows within the first moments, and a wrong "no" would greet the user with a false
    // permission page.
    bool hasAccess() override;
    void requestAccess() override;
    // No settings page grants it: the portal's own dialog is the place.
    void openSettings() override;

private:
    PortalScreenshot& m_portal;
};
