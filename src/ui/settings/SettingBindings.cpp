#include "ui/settings/SettingBindings.h"

#include "core/AppSettings.h"
#include "ui/settings/ToggleSwitch.h"

namespace SettingBindings {

void bindSwitch(ToggleSwitch* toggle, AppSettings& settings, const Setting<bool>& setting) {
    toggle->setChecked(settings.value(setting));
    // `clicked` comes only from the user (mouse, Space, accessibility action), so following
    // the store below never writes back.
    QObject::connect(toggle, &QAbstractButton::clicked, &settings,
                     [&settings, setting](bool checked) { settings.set(setting, checked); });
    QObject::connect(&settings, &AppSettings::changed, toggle,
                     [toggle, &settings, setting](const QString& key) {
                         if (key == QLatin1String(setting.key))
                             toggle->setChecked(settings.value(setting));
                     });
}

} // namespace SettingBindings
