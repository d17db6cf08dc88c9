#include "ui/AlertBadge.h"

#include <QColor>
#include <QEasingCurve>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct Keyframe {
    qreal time;
    qreal value;
};

// One heartbeat: a deep beat, a shallow one, then rest.
constexpr std::array<Keyframe, 6> heartbeat{{
    {0.0, 1.0},
    {0.12, 0.74},
    {0.28, 1.0},
    {0.42, 0.82},
    {0.6, 1.0},
    {1.0, 1.0},
}};

// Diameter of the full-size dot and its centre, in icon points.
constexpr qreal dotDiameter = 5.8;
constexpr qreal dotCentreX = 13.0;
constexpr qreal dotCentreY = 3.1;

const QColor& dotColour() {
    static const QColor red(0xff, 0x3b, 0x30);
    return red;
}

} // namespace

AlertBadge::AlertBadge(QObject* parent) : QObject(parent) {
    m_frameTimer.setInterval(defaultFrameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &AlertBadge::changed);
}

void AlertBadge::setFrameInterval(int ms) {
    m_frameTimer.setInterval(ms > 0 ? ms : defaultFrameIntervalMs);
}

void AlertBadge::update(bool visible, bool reduceMotion) {
    if (!visible) {
        if (!m_visible)
            return;
        m_visible = false;
        m_frameTimer.stop();
        Q_EMIT changed();
        return;
    }
    const bool wasVisible = m_visible;
    m_visible = true;
    if (reduceMotion) {
        const bool wasPulsing = m_frameTimer.isActive();
        m_frameTimer.stop();
        if (!wasVisible || wasPulsing)
            Q_EMIT changed();
        return;
    }
    if (!m_frameTimer.isActive()) {
        m_clock.start();
        m_frameTimer.start();
    }
    if (!wasVisible)
        Q_EMIT changed();
}

qreal AlertBadge::currentScale() const {
    if (!m_frameTimer.isActive() || !m_clock.isValid())
        return 1.0;
    const qint64 elapsed = m_clock.elapsed() % m_periodMs;
    return scaleAt(qreal(elapsed) / m_periodMs);
}

qreal AlertBadge::scaleAt(qreal phase) {
    phase = std::clamp(phase - std::floor(phase), 0.0, 1.0);
    // Ease-in-ease-out over the whole period, then straight lines between the keyframes.
    static const QEasingCurve easing = [] {
        QEasingCurve curve(QEasingCurve::BezierSpline);
        curve.addCubicBezierSegment(QPointF(0.42, 0.0), QPointF(0.58, 1.0), QPointF(1.0, 1.0));
        return curve;
    }();
    const qreal t = easing.valueForProgress(phase);
    for (size_t i = 1; i < heartbeat.size(); ++i) {
        const Keyframe& a = heartbeat[i - 1];
        const Keyframe& b = heartbeat[i];
        if (t <= b.time) {
            const qreal span = b.time - a.time;
            const qreal f = span > 0 ? (t - a.time) / span : 1.0;
            return a.value + (b.value - a.value) * f;
        }
    }
    return heartbeat.back().value;
}

void AlertBadge::paint(QPainter& painter, const QPointF& iconOrigin, qreal unit, qreal scale) {
    const qreal radius = dotDiameter * unit * scale / 2.0;
    const QPointF centre = iconOrigin + QPointF(dotCentreX * unit, dotCentreY * unit);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(Qt::NoPen);
    painter.setBrush(dotColour());
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}
