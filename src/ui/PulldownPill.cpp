#include "ui/PulldownPill.h"

#include "ui/PillAccessibility.h"
#include "ui/PillTheme.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal cornerRadius = 7;
constexpr int labelLeading = 10;
constexpr int chevronGap = 5;
constexpr int chevronTrailing = 9;
constexpr int chevronWidth = 8;
constexpr int pillHeight = 24;

QFont labelFont(QFont font) {
    font.setPointSizeF(12);
    font.setWeight(QFont::Medium);
    return font;
}

QColor tertiary(const QPalette& palette) {
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(0.45f);
    return colour;
}

} // namespace

PulldownPill::PulldownPill(const QString& title, QWidget* parent) : QAbstractButton(parent) {
    PillAccessibility::install();
    setText(title);
    setFocusPolicy(Qt::StrongFocus);
    setFont(labelFont(font()));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void PulldownPill::setLabel(const QString& label) {
    if (label == text())
        return;
    setText(label);
    updateGeometry();
}

QSize PulldownPill::sizeHint() const {
    const int textWidth = fontMetrics().horizontalAdvance(text());
    return {labelLeading + textWidth + chevronGap + chevronWidth + chevronTrailing,
            std::max(pillHeight, fontMetrics().height() + 8)};
}

QSize PulldownPill::minimumSizeHint() const {
    return {labelLeading + chevronGap + chevronWidth + chevronTrailing, sizeHint().height()};
}

bool PulldownPill::hitButton(const QPoint& pos) const {
    return PillTheme::takesClicks(this) && rect().contains(pos);
}

void PulldownPill::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        update();
    QAbstractButton::changeEvent(event);
}

void PulldownPill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QRectF body = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(PillTheme::fieldBorder(pal), 1));
    painter.setBrush(PillTheme::field(pal));
    painter.drawRoundedRect(body, cornerRadius, cornerRadius);
    if (hasFocus()) {
        painter.setPen(QPen(PillTheme::accent(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    }

    // The chevron keeps its place at the right; the label shrinks first, elided at its end.
    const qreal chevronRight = width() - chevronTrailing;
    const qreal chevronLeft = chevronRight - chevronWidth;
    const qreal mid = height() / 2.0;
    QPainterPath chevron;
    chevron.moveTo(chevronLeft, mid - 2);
    chevron.lineTo(chevronLeft + chevronWidth / 2.0, mid + 2);
    chevron.lineTo(chevronRight, mid - 2);
    painter.setPen(QPen(tertiary(pal), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);

    const QRect textRect(labelLeading, 0, int(chevronLeft) - chevronGap - labelLeading, height());
    painter.setPen(
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));
}
