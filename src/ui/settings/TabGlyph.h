#pragma once

#include "ui/settings/SettingsTab.h"

#include <QPixmap>

class QPainter;
class QRectF;

// The sidebar's icon chips: a rounded square in the tab's gradient with a small white
// pictogram. Painted, so they look the same on every desktop and icon theme.
namespace TabGlyph {

void paintChip(QPainter& painter, const QRectF& chip, SettingsTab tab);
QPixmap chip(SettingsTab tab, int size, qreal devicePixelRatio);

} // namespace TabGlyph
