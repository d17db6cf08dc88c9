#pragma once

#include <QString>

#include <chrono>
#include <optional>

class HUDToastWindow;

// The one call for transient feedback; callers pass localised text. A toast fades in, stays,
// fades out; a new one replaces the current one at once.
namespace HUDToast {

struct Timing {
    std::chrono::milliseconds fadeIn{140};
    // From show() to the start of the fade-out; the fade-in is part of it.
    std::chrono::milliseconds visible{1600};
    std::chrono::milliseconds fadeOut{250};
};
inline constexpr Timing defaultTiming{};

// Distance from the bottom of the screen's available area to the toast's lower edge.
inline constexpr int bottomMargin = 120;
// Space kept free at each side when a text is wider than the screen.
inline constexpr int sideMargin = 20;

void show(const QString& text);

// The toast on screen or fading out; null when none is showing.
HUDToastWindow* currentWindow();

// Seams for tests: shorter timings, and a fixed answer to "is a compositor running".
void setTiming(const Timing& timing);
Timing timing();
void setCompositingOverride(std::optional<bool> compositing);

} // namespace HUDToast
