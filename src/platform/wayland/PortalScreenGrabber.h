#pragma once

#include "platform/ScreenGrabber.h"

#include <functional>

class PortalScreenshot;

// The screens of a Wayland desktop: one picture of the whole desktop from the Screenshot
// portal, cut into the screens Qt reports at each screen's own resolution. Only the
// asynchronous grab is real; the synchronous one cannot ask the portal without blocking and
// answers with frames that say so. GUI thread.
class PortalScreenGrabber : public ScreenGrabber {
public:
    // The screens to cut the picture into (geometry and ratio; images ignored).
    using Layout = std::function<QList<ScreenFrame>()>;

    explicit PortalScreenGrabber(PortalScreenshot& portal, Layout layout = qtScreens);

    QList<ScreenFrame> grabScreens() override;
    void grab(GrabDone done) override;

    // QGuiApplication::screens(), in its order.
    static QList<ScreenFrame> qtScreens();

private:
    PortalScreenshot& m_portal;
    Layout m_layout;
};
