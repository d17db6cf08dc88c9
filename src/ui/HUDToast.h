#pragma once

#include <QString>

// The one call for transient feedback; callers pass localised text.
namespace HUDToast {
void show(const QString& text);
} // namespace HUDToast
