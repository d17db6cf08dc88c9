#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// The measurements of the selection overlay, in logical pixels with y growing downwards.
namespace SelectionOverlayGeometry {

inline constexpr qreal minimumSide = 4.0;     // a smaller drag is a cancel
inline constexpr qreal labelMinWidth = 40.0;  // the label needs more than this...
inline constexpr qreal labelMinHeight = 20.0; // ...and more than this
inline constexpr qreal outlineWidth = 1.5;
inline constexpr qreal dimAlpha = 0.18;
inline constexpr qreal badgeAlpha = 0.65;
inline constexpr qreal badgePadding = 4.0;
inline constexpr qreal badgeGap = 2.0; // between selection and badge, and badge and edge
inline constexpr qreal badgeRadius = 4.0;
inline constexpr int labelPixelSize = 10;

QColor accentColor();

// The rectangle spanned by two drag points, whatever their order. Built from the minimum
// and maximum coordinates so a reversed drag gives exactly the same rectangle.
QRectF selectionRect(QPointF a, QPointF b);
// At least minimumSide in both directions.
bool isAcceptable(const QRectF& selection);
bool showsLabel(const QRectF& selection);
// "W × H" with both sizes truncated toward zero.
QString labelText(const QRectF& selection);
// The badge under the selection's bottom-right corner, `badgeGap` below it, kept
// `badgeGap` above the bottom of a view `viewHeight` high.
QRectF badgeRect(const QRectF& selection, QSizeF textSize, qreal viewHeight);

} // namespace SelectionOverlayGeometry
