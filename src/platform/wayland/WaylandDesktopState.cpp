#include "platform/wayland/WaylandDesktopState.h"

#include "platform/wayland/SwayBarWatcher.h"

namespace {

// sway answers in a few milliseconds; a hung sway costs no more than this at start.
constexpr int swayAnswerMs = 250;

} // namespace

WaylandDesktopState::WaylandDesktopState(const QString& swaySocket)
    : m_swayBars(swaySocket.isEmpty() ? nullptr : std::make_unique<SwayBarWatcher>(swaySocket)) {
    if (m_swayBars)
        m_swayBars->waitForBars(swayAnswerMs);
}

WaylandDesktopState::~WaylandDesktopState() = default;

std::optional<QColor> WaylandDesktopState::panelForeground() {
    if (m_swayBars) {
        if (const std::optional<QColor> colour = m_swayBars->trayForeground())
            return colour;
    }
    return XdgDesktopState::panelForeground();
}
