#include "ui/SelectionOverlayGeometry.h"

#include <algorithm>

namespace SelectionOverlayGeometry {

QColor accentColor() {
    return QColor(10, 132, 255);
}

QRectF selectionRect(QPointF a, QPointF b) {
    const qreal left = std::min(a.x(), b.x());
    const qreal top = std::min(a.y(), b.y());
    const qreal right = std::max(a.x(), b.x());
    const qreal bottom = std::max(a.y(), b.y());
    return QRectF(left, top, right - left, bottom - top);
}

bool isAcceptable(const QRectF& selection) {
    return selection.width() >= minimumSide && selection.height() >= minimumSide;
}

bool showsLabel(const QRectF& selection) {
    return selection.width() > labelMinWidth && selection.height() > labelMinHeight;
}

QString labelText(const QRectF& selection) {
    return QStringLiteral("%1 \u00D7 %2")
        .arg(qint64(selection.width()))
        .arg(qint64(selection.height()));
}

QRectF badgeRect(const QRectF& selection, QSizeF textSize, qreal viewHeight) {
    const qreal width = textSize.width() + 2 * badgePadding;
    const qreal height = textSize.height() + 2 * badgePadding;
    const qreal x = selection.right() - textSize.width() - 2 * badgePadding;
    qreal y = selection.bottom() + badgeGap;
    const qreal lowest = viewHeight - badgeGap - height;
    if (y >= lowest)
        y = lowest;
    return QRectF(x, y, width, height);
}

} // namespace SelectionOverlayGeometry
