#include "ui/settings/TabGlyph.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// Each pictogram is drawn in a unit square (0..1) scaled onto the chip's inner area.
void gear(QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(0.5, 0.5);
        p.rotate(i * 45.0);
        p.drawRoundedRect(QRectF(-0.09, -0.5, 0.18, 0.24), 0.04, 0.04);
        p.restore();
    }
    QPainterPath ring;
    ring.addEllipse(QPointF(0.5, 0.5), 0.34, 0.34);
    ring.addEllipse(QPointF(0.5, 0.5), 0.14, 0.14);
    p.drawPath(ring);
}

void viewfinder(QPainter& p) {
    p.setPen(QPen(Qt::white, 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal a = 0.08, b = 0.92, l = 0.26;
    p.drawPolyline(QPolygonF{{a, a + l}, {a, a}, {a + l, a}});
    p.drawPolyline(QPolygonF{{b - l, a}, {b, a}, {b, a + l}});
    p.drawPolyline(QPolygonF{{a, b - l}, {a, b}, {a + l, b}});
    p.drawPolyline(QPolygonF{{b - l, b}, {b, b}, {b, b - l}});
    p.drawLine(QPointF(0.3, 0.42), QPointF(0.7, 0.42));
    p.drawLine(QPointF(0.3, 0.6), QPointF(0.58, 0.6));
}

void hand(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.22, 0.45, 0.56, 0.5), 0.2, 0.2);
    const qreal fingers[4][2] = {{0.24, 0.22}, {0.37, 0.08}, {0.5, 0.1}, {0.63, 0.2}};
    for (const auto& f : fingers)
        p.drawRoundedRect(QRectF(f[0], f[1], 0.12, 0.5), 0.06, 0.06);
    p.save();
    p.translate(0.78, 0.62);
    p.rotate(35);
    p.drawRoundedRect(QRectF(-0.06, -0.3, 0.12, 0.34), 0.06, 0.06);
    p.restore();
}

void lockShield(QPainter& p) {
    QPainterPath shield;
    shield.moveTo(0.5, 0.04);
    shield.lineTo(0.88, 0.18);
    shield.cubicTo(0.88, 0.6, 0.72, 0.84, 0.5, 0.96);
    shield.cubicTo(0.28, 0.84, 0.12, 0.6, 0.12, 0.18);
    shield.closeSubpath();
    QPainterPath lock;
    lock.addRoundedRect(QRectF(0.35, 0.45, 0.3, 0.24), 0.04, 0.04);
    p.setPen(Qt::NoPen);
    p.drawPath(shield.subtracted(lock));
}

void person(QPainter& p) {
    p.setPen(Qt::NoPen);
    QPainterPath circle, figure;
    circle.addEllipse(QPointF(0.5, 0.5), 0.46, 0.46);
    figure.addEllipse(QPointF(0.5, 0.38), 0.15, 0.15);
    QPainterPath shoulders;
    shoulders.addEllipse(QPointF(0.5, 0.86), 0.3, 0.2);
    p.drawPath(circle.subtracted(figure.united(shoulders.intersected(circle))));
}

void info(QPainter& p) {
    p.setPen(Qt::NoPen);
    QPainterPath circle, mark;
    circle.addEllipse(QPointF(0.5, 0.5), 0.46, 0.46);
    mark.addEllipse(QPointF(0.5, 0.28), 0.07, 0.07);
    mark.addRoundedRect(QRectF(0.43, 0.42, 0.14, 0.36), 0.05, 0.05);
    p.drawPath(circle.subtracted(mark));
}

} // namespace

namespace TabGlyph {

void paintChip(QPainter& painter, const QRectF& chip, SettingsTab tab) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const auto [top, bottom] = SettingsTabs::gradient(tab);
    QLinearGradient fill(chip.topLeft(), chip.bottomRight());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    const qreal radius = chip.width() * 0.24;
    painter.drawRoundedRect(chip, radius, radius);

    const qreal inset = chip.width() * 0.2;
    const QRectF inner = chip.adjusted(inset, inset, -inset, -inset);
    painter.translate(inner.topLeft());
    painter.scale(inner.width(), inner.height());
    painter.setBrush(Qt::white);
    switch (tab) {
    case SettingsTab::General:
        gear(painter);
        break;
    case SettingsTab::History:
        viewfinder(painter);
        break;
    case SettingsTab::Privacy:
        hand(painter);
        break;
    case SettingsTab::Permissions:
        lockShield(painter);
        break;
    case SettingsTab::Account:
        person(painter);
        break;
    case SettingsTab::About:
        info(painter);
        break;
    }
    painter.restore();
}

QPixmap chip(SettingsTab tab, int size, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintChip(painter, QRectF(0, 0, size, size), tab);
    return pixmap;
}

} // namespace TabGlyph
