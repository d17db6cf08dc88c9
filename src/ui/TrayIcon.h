#pragma once

#include <QByteArray>
#include <QColor>
#include <QIcon>
#include <QPainterPath>
#include <QPalette>
#include <QRectF>

class QPainter;

// The tray icon: four rounded viewfinder corners around a letter A. It is painted from one
// path at whatever size the panel asks for, so it stays crisp at every scale.
namespace TrayIcon {

enum class State { Active, PermissionWarning };

// Side of the icon in points; the path below is in design units of 0.8 points.
inline constexpr qreal iconPoints = 16.0;
inline constexpr qreal designScale = 0.8;
inline constexpr qreal strokeWidth = 1.5; // design units
// Where the panel's colour is only guessed, the tray icon's strokes lie on a thin edge of the
// opposite tone, so that the glyph stays visible on a panel of either tone: on a panel of the
// tone the glyph colour was guessed for, the edge all but vanishes.
inline constexpr qreal edgeWidth = 0.75; // design units on each side of a stroke
inline constexpr int edgeAlpha = 120;

// The edge for a glyph in `colour`: translucent white under a dark glyph, black under a light one.
QColor edgeColour(const QColor& colour);

// The outline in design units, to be stroked with round caps and joins.
QPainterPath designPath();

// Paints the icon into the square `target` in `colour`, on an edge of `edge` when that is
// valid. When `badged`, a circle is cut out of the top-right corner; a `dotScale` above 0
// then paints the alert dot into the hole.
void paint(QPainter& painter, const QRectF& target, const QColor& colour, bool badged,
           qreal dotScale = 0, const QColor& edge = QColor());

// The icon in the palette's window-text colour (the panel's text colour), disabled and
// selected modes in their own text colours, each on its contrasting edge when `edged` (the
// colour is a guess). The drawing depends only on `badged`.
QIcon image(State state, bool badged, qreal dotScale, const QPalette& palette, bool edged = true);
// The same in the application palette, without a dot.
QIcon image(State state, bool badged);

// The icon as a standalone SVG document (the desktop file's icon) in `colour`.
QByteArray svgDocument(const QColor& colour = Qt::black);

} // namespace TrayIcon
