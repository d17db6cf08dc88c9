#include "ui/PillTheme.h"

#include <QGraphicsOpacityEffect>
#include <QPalette>
#include <QWidget>

namespace PillTheme {

namespace {

QColor tinted(const QPalette& palette, qreal darkAlpha, qreal lightAlpha) {
    QColor colour = isDark(palette) ? QColor(Qt::white) : QColor(Qt::black);
    colour.setAlphaF(float(isDark(palette) ? darkAlpha : lightAlpha));
    return colour;
}

} // namespace

QColor accent() {
    return QColor::fromRgbF(10 / 255.0f, 132 / 255.0f, 1.0f);
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor field(const QPalette& palette) {
    return tinted(palette, 0.06, 0.05);
}

QColor fieldBorder(const QPalette& palette) {
    return tinted(palette, 0.12, 0.12);
}

QColor segOverlay(const QPalette& palette) {
    return tinted(palette, 0.052, 0.075);
}

bool takesClicks(const QWidget* widget) {
    if (!widget->isVisible())
        return false;
    qreal opacity = 1.0;
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* effect = qobject_cast<QGraphicsOpacityEffect*>(w->graphicsEffect());
            effect && effect->isEnabled())
            opacity *= effect->opacity();
        if (w->isWindow())
            opacity *= w->windowOpacity();
    }
    return opacity >= 0.01;
}

} // namespace PillTheme
