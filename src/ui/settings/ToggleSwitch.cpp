#include "ui/settings/ToggleSwitch.h"

#include "ui/PillTheme.h"
#include "ui/settings/ToggleSwitchAccessible.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr int trackWidth = 38;
constexpr int trackHeight = 22;
constexpr int knobInset = 2;

} // namespace

ToggleSwitch::ToggleSwitch(QWidget* parent) : QAbstractButton(parent) {
    ToggleSwitchAccessible::install();
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

QSize ToggleSwitch::sizeHint() const {
    // Room for the focus ring around the track.
    return {trackWidth + 4, trackHeight + 4};
}

bool ToggleSwitch::hitButton(const QPoint& pos) const {
    return PillTheme::takesClicks(this) && rect().contains(pos);
}

void ToggleSwitch::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const bool dark = PillTheme::isDark(pal);
    const QRectF track(2, 2, trackWidth, trackHeight);
    const qreal radius = track.height() / 2;
    if (!isEnabled())
        painter.setOpacity(0.45);

    if (hasFocus()) {
        QColor ring = PillTheme::accent();
        ring.setAlphaF(0.5f);
        painter.setPen(QPen(ring, 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(-0.5, -0.5, 0.5, 0.5), radius + 0.5, radius + 0.5);
    }

    QColor off = dark ? QColor(255, 255, 255, 56) : QColor(0, 0, 0, 40);
    QColor fill = isChecked() ? PillTheme::accent() : off;
    if (isDown())
        fill = fill.darker(112);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);

    const qreal knob = track.height() - 2 * knobInset;
    const qreal x = isChecked() ? track.right() - knobInset - knob : track.left() + knobInset;
    const QRectF knobRect(x, track.top() + knobInset, knob, knob);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(knobRect.translated(0, 0.6));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knobRect);
}
