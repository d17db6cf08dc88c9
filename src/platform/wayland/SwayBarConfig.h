#pragma once

#include <QColor>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

// What a swaybar's configuration, as sway's IPC describes it (GET_BAR_CONFIG and the
// barconfig_update event), says about the colour a tray icon needs to be seen on it.
namespace SwayBarConfig {

// "#rrggbb" or sway's "#rrggbbaa"; invalid for anything else.
QColor parseColour(const QString& text);

// Whether the bar shows a tray at all (not `mode invisible`, not `tray_output none`).
bool showsTray(const QJsonObject& bar);

// The colour for the tray icon's glyph on this bar: the bar's own status-line colour where it
// stands out from the background, else white on a dark bar and black on a light one.
// Nothing for a bar whose background is mostly transparent (the wallpaper shows through).
std::optional<QColor> trayForeground(const QJsonObject& bar);

// The same for the first bar of `bars` that shows a tray.
std::optional<QColor> trayForeground(const QList<QJsonObject>& bars);

} // namespace SwayBarConfig
