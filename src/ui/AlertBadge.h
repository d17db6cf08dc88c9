#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QPainter;
class QPointF;

// The small pulsing red dot that sits in the hole of the badged tray icon while the
// screen-capture permission is missing. A tray icon has no layers of its own, so the dot is
// painted into each icon frame; this object keeps the pulse's clock and says when a new
// frame is due.
class AlertBadge : public QObject {
    Q_OBJECT
public:
    static constexpr int defaultPeriodMs = 1600;
    static constexpr int defaultFrameIntervalMs = 100;

    explicit AlertBadge(QObject* parent = nullptr);

    // Shows, keeps or hides the dot. Calling it again while visible never restarts the
    // pulse; with `reduceMotion` the dot stays at full size.
    void update(bool visible, bool reduceMotion);

    bool isVisible() const { return m_visible; }
    bool isPulsing() const { return m_frameTimer.isActive(); }
    // The dot's scale for the frame to draw now (1 when static).
    qreal currentScale() const;

    // Injected by tests so that a whole pulse takes milliseconds.
    void setPeriod(int ms) { m_periodMs = ms > 0 ? ms : defaultPeriodMs; }
    void setFrameInterval(int ms);

    // The heartbeat: scale over one period, `phase` in [0, 1).
    static qreal scaleAt(qreal phase);

    // Paints the dot for an icon whose points are `unit` device units wide, with its
    // origin at `iconOrigin`.
    static void paint(QPainter& painter, const QPointF& iconOrigin, qreal unit, qreal scale);

Q_SIGNALS:
    // A new frame of the dot is due, or the dot appeared or went away.
    void changed();

private:
    bool m_visible = false;
    int m_periodMs = defaultPeriodMs;
    QElapsedTimer m_clock;
    QTimer m_frameTimer;
};
