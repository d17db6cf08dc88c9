#pragma once

#include <QStringList>

#include <optional>

// The environment switches that force the guide open or pin it to one page (for people
// checking a translation or a layout). Read from the process environment on every call.
namespace OnboardingKitEnv {

inline constexpr char forcedVariable[] = "KORVANE_ONBOARDING";
inline constexpr char pageVariable[] = "KORVANE_ONBOARDING_PAGE";

// True when the forcing variable, or one of `legacy`, holds exactly "1".
bool forced(const QStringList& legacy = {});
// The page number of the first of the page variable and `legacy` that is set, non-empty and a
// decimal integer (a leading "+" or "-" is allowed); not clamped.
std::optional<int> pinnedPage(const QStringList& legacy = {});

} // namespace OnboardingKitEnv
