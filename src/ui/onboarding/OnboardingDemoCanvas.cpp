#include "ui/onboarding/OnboardingDemoCanvas.h"

#include "ui/PillTheme.h"

#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

namespace {

// The loop in parts: the drag grows until dragEnd, the toast shows from toastStart on.
constexpr qreal dragStart = 0.15;
constexpr qreal dragEnd = 0.55;
constexpr qreal toastStart = 0.62;
constexpr qreal toastEnd = 0.92;

qreal progress(qreal phase, qreal from, qreal to) {
    return std::clamp((phase - from) / (to - from), 0.0, 1.0);
}

} // namespace

OnboardingDemoCanvas::OnboardingDemoCanvas(QWidget* parent)
    : QWidget(parent), m_loop(new QVariantAnimation(this)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(sizeHint().height());
    m_loop->setStartValue(0.0);
    m_loop->setEndValue(1.0);
    m_loop->setDuration(loopMs);
    m_loop->setLoopCount(-1);
    connect(m_loop, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_phase = value.toDouble();
        update();
    });
}

bool OnboardingDemoCanvas::isAnimating() const {
    return m_loop->state() == QAbstractAnimation::Running;
}

void OnboardingDemoCanvas::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_loop->start();
}

void OnboardingDemoCanvas::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_loop->stop();
}

void OnboardingDemoCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    paintDocument(painter, area);
    paintSelection(painter, area);
    paintToast(painter, area);
}

// A window with a title bar and lines of "text".
void OnboardingDemoCanvas::paintDocument(QPainter& painter, const QRectF& area) const {
    const bool dark = PillTheme::isDark(palette());
    painter.setPen(QPen(PillTheme::fieldBorder(palette()), 1));
    painter.setBrush(dark ? QColor(255, 255, 255, 18) : QColor(255, 255, 255));
    painter.drawRoundedRect(area, 10, 10);
    QColor ink = palette().color(QPalette::WindowText);
    ink.setAlphaF(0.28);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    for (int i = 0; i < 3; ++i)
        painter.drawEllipse(QPointF(area.left() + 14 + i * 11, area.top() + 12), 3.5, 3.5);
    const qreal widths[] = {0.82, 0.64, 0.74, 0.52, 0.68};
    for (int line = 0; line < 5; ++line) {
        const QRectF bar(area.left() + 18, area.top() + 28 + line * 15,
                         (area.width() - 36) * widths[line], 6);
        painter.drawRoundedRect(bar, 3, 3);
    }
}

// The selection grows from its first corner like a drag, then holds.
void OnboardingDemoCanvas::paintSelection(QPainter& painter, const QRectF& area) const {
    const qreal drag = progress(m_phase, dragStart, dragEnd);
    if (drag <= 0)
        return;
    const QPointF from(area.left() + 12, area.top() + 40);
    const QPointF to(area.left() + 12 + (area.width() * 0.7) * drag, from.y() + 38 * drag);
    const QRectF selection = QRectF(from, to).normalized();
    QColor fill = PillTheme::accent();
    fill.setAlphaF(0.16);
    painter.setBrush(fill);
    QPen edge(PillTheme::accent(), 1.5, Qt::DashLine);
    painter.setPen(edge);
    painter.drawRect(selection);
    // The pointer at the moving corner.
    QPainterPath arrow;
    arrow.moveTo(to);
    arrow.lineTo(to + QPointF(0, 13));
    arrow.lineTo(to + QPointF(3.5, 9.5));
    arrow.lineTo(to + QPointF(8.5, 9.5));
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(arrow);
}

// The confirmation that the text is on the clipboard.
void OnboardingDemoCanvas::paintToast(QPainter& painter, const QRectF& area) const {
    const qreal in = progress(m_phase, toastStart, toastStart + 0.06);
    const qreal out = 1 - progress(m_phase, toastEnd, 1.0);
    const qreal opacity = std::min(in, out);
    if (opacity <= 0)
        return;
    painter.save();
    painter.setOpacity(opacity);
    const QRectF pill(area.center().x() - 22, area.bottom() - 30, 44, 22);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 40, 230));
    painter.drawRoundedRect(pill, 11, 11);
    QPainterPath tick;
    tick.moveTo(pill.center() + QPointF(-7, 0));
    tick.lineTo(pill.center() + QPointF(-2, 5));
    tick.lineTo(pill.center() + QPointF(7, -5));
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    painter.restore();
}
