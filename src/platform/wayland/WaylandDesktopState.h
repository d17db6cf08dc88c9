#pragma once

#include "platform/xdg/XdgDesktopState.h"

#include <memory>

class SwayBarWatcher;

// A Wayland session: every Wayland desktop composites. Under sway the tray's panel is a
// swaybar whose colours sway's IPC tells.
class WaylandDesktopState : public XdgDesktopState {
public:
    // `swaySocket`: sway's IPC socket (SWAYSOCK), empty outside sway.
    explicit WaylandDesktopState(const QString& swaySocket);
    ~WaylandDesktopState() override;

    bool isCompositing() override { return true; }
    std::optional<QColor> panelForeground() override;

private:
    std::unique_ptr<SwayBarWatcher> m_swayBars;
};
