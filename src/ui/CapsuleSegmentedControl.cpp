#include "ui/CapsuleSegmentedControl.h"

#include "ui/PillAccessibility.h"
#include "ui/PillTheme.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace {
constexpr int iconSize = 14;
}

CapsuleSegmentedControl::CapsuleSegmentedControl(const QList<QIcon>& images,
                                                 const QStringList& tooltips, int width, int height,
                                                 std::optional<qreal> cornerRadius, QWidget* parent)
    : QWidget(parent), m_icons(images), m_tooltips(tooltips), m_cornerRadius(cornerRadius) {
    PillAccessibility::install();
    setFixedSize(width, height);
    setFocusPolicy(Qt::StrongFocus);
}

void CapsuleSegmentedControl::setSelectedIndex(int index) {
    if (index == m_selected)
        return;
    m_selected = index;
    update();
}

int CapsuleSegmentedControl::indexAt(qreal x) const {
    if (segmentCount() == 0)
        return -1;
    const qreal segment = qreal(width()) / segmentCount();
    return std::clamp(int(x / segment), 0, segmentCount() - 1);
}

void CapsuleSegmentedControl::choose(int index) {
    if (index < 0 || index >= segmentCount() || index == m_selected)
        return;
    setSelectedIndex(index);
    if (onSelect)
        onSelect(index);
}

qreal CapsuleSegmentedControl::radius() const {
    const qreal half = height() / 2.0;
    return m_cornerRadius ? std::min(*m_cornerRadius, half) : half;
}

void CapsuleSegmentedControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor overlay = PillTheme::segOverlay(palette());
    const qreal r = radius();
    painter.setPen(QPen(overlay, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), r, r);

    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), std::max(r - 1, 0.0),
                        std::max(r - 1, 0.0));
    painter.setClipPath(clip);
    const int count = std::max(segmentCount(), 1);
    const qreal segment = qreal(width()) / count;
    if (m_selected >= 0 && m_selected < segmentCount())
        painter.fillRect(QRectF(segment * m_selected, 0, segment, height()), overlay);

    painter.setRenderHint(QPainter::Antialiasing, false);
    const int dividerHeight = int(std::round(height() * 0.6));
    for (int i = 1; i < segmentCount(); ++i) {
        if (i == m_selected || i == m_selected + 1)
            continue;
        const int x = int(std::round(segment * i - 0.5));
        painter.fillRect(x, (height() - dividerHeight) / 2, 1, dividerHeight, overlay);
    }

    for (int i = 0; i < segmentCount(); ++i) {
        const QPointF centre(segment * (i + 0.5), height() / 2.0);
        const QRect target(int(centre.x() - iconSize / 2.0), int(centre.y() - iconSize / 2.0),
                           iconSize, iconSize);
        painter.setOpacity(i == m_selected ? 1.0 : 0.55);
        m_icons[i].paint(&painter, target, Qt::AlignCenter,
                         isEnabled() ? QIcon::Normal : QIcon::Disabled);
    }
    painter.setOpacity(1.0);
    if (hasFocus()) {
        painter.setClipping(false);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(PillTheme::accent(), 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), r, r);
    }
}

void CapsuleSegmentedControl::mousePressEvent(QMouseEvent* event) {
    if (!isEnabled() || !PillTheme::takesClicks(this) || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    choose(indexAt(event->position().x()));
}

void CapsuleSegmentedControl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        choose(std::max(m_selected - 1, 0));
        return;
    case Qt::Key_Right:
        choose(std::min(m_selected + 1, segmentCount() - 1));
        return;
    case Qt::Key_Home:
        choose(0);
        return;
    case Qt::Key_End:
        choose(segmentCount() - 1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CapsuleSegmentedControl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        update();
    QWidget::changeEvent(event);
}

bool CapsuleSegmentedControl::event(QEvent* event) {
    // Each segment has its own tooltip.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = tooltipAt(indexAt(help->pos().x()));
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}
