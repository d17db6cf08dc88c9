#include "ui/onboarding/OKPageDot.h"

#include "ui/PillTheme.h"

#include <QPainter>

OKPageDot::OKPageDot(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void OKPageDot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF dot = QRectF(rect()).adjusted(5, 5, -5, -5);
    QColor fill = isChecked() ? PillTheme::accent() : palette().color(QPalette::WindowText);
    if (!isChecked())
        fill.setAlphaF(0.25);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(dot);
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(PillTheme::accent(), 1.5));
        painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }
}
