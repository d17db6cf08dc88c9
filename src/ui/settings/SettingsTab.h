#pragma once

#include <QColor>
#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>
#include <utility>

// The six tabs of the settings window, in sidebar order. The raw value names the tab on the
// command line and builds its string keys ("tab.<raw>", "sub.<raw>").
enum class SettingsTab { General, History, Privacy, Permissions, Account, About };

namespace SettingsTabs {

const QList<SettingsTab>& all();
QString rawValue(SettingsTab tab);
// Exact match on the raw value; nothing for any other text.
std::optional<SettingsTab> fromRawValue(const QString& raw);
QString titleKey(SettingsTab tab);
QString subtitleKey(SettingsTab tab);
// The two colours of the tab's icon chip, top-left to bottom-right.
std::pair<QColor, QColor> gradient(SettingsTab tab);

} // namespace SettingsTabs

Q_DECLARE_METATYPE(SettingsTab)
