#include "ui/settings/Badge.h"

#include "ui/PillTheme.h"

#include <QPainter>

Badge::Badge(Tone tone, QWidget* parent) : QLabel(parent), m_tone(tone) {
    QFont badgeFont = font();
    badgeFont.setPointSizeF(badgeFont.pointSizeF() * 0.85);
    badgeFont.setWeight(QFont::DemiBold);
    setFont(badgeFont);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setContentsMargins(9, 2, 9, 2);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QColor Badge::toneColour() const {
    const bool dark = PillTheme::isDark(palette());
    if (m_tone == Tone::Accent)
        return dark ? QColor(0x4d, 0xa6, 0xff) : QColor(0x0a, 0x6c, 0xd8);
    return dark ? QColor(0x4c, 0xd9, 0x64) : QColor(0x1e, 0x8a, 0x3a);
}

void Badge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = toneColour();
    QColor fill = colour;
    fill.setAlphaF(0.16f);
    const QRectF body = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(body, body.height() / 2, body.height() / 2);
    painter.setPen(colour);
    painter.setFont(font());
    painter.drawText(contentsRect(), Qt::AlignCenter, text());
}
