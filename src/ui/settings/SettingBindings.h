#pragma once

#include "core/Settings.h"

class AppSettings;
class ToggleSwitch;

// Two-way ties between the tabs' controls and the settings store: a control shows the stored
// value, writes the user's change, and follows a change made anywhere else (another window,
// settings sync) at once.
namespace SettingBindings {

void bindSwitch(ToggleSwitch* toggle, AppSettings& settings, const Setting<bool>& setting);

} // namespace SettingBindings
