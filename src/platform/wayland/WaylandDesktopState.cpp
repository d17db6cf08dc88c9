#include "platform/wayland/WaylandDesktopState.h"

#include "platform/wayland/SwayBarWatcher.h"

WaylandDesktopState::WaylandDesktopState(const QString& swaySocket)
    : m_swayBars(swaySocket.isEmpty() ? nullptr : std::make_unique<SwayBarWatcher>(swaySocket)) {}

WaylandDesktopState::~WaylandDesktopState() = default;

std::optional<QColor> WaylandDesktopState::panelForeground() {
    if (m_swayBars) {
        if (const std::optional<QColor> colour = m_swayBars->trayForeground())
            return colour;
    }
    return XdgDesktopState::panelForeground();
}
