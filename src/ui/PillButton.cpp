#include "ui/PillButton.h"

#include "ui/PillAccessibility.h"
#include "ui/PillTheme.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr qreal cornerRadius = 8;
constexpr int extraWidth = 24;
// What a plain push button would take around its title.
constexpr int standardPadding = 16;
constexpr int standardHeight = 24;

} // namespace

PillButton::PillButton(const QString& title, bool filled, QWidget* parent)
    : QAbstractButton(parent), m_filled(filled) {
    PillAccessibility::install();
    QFont titleFont = font();
    titleFont.setPointSizeF(11);
    titleFont.setWeight(QFont::DemiBold);
    setFont(titleFont);
    setText(title);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PillButton::setTitleText(const QString& title) {
    setText(title);
    updateGeometry();
    update();
}

QSize PillButton::sizeHint() const {
    const int standard = fontMetrics().horizontalAdvance(text()) + standardPadding;
    return {standard + extraWidth, std::max(standardHeight, fontMetrics().height() + 8)};
}

bool PillButton::hitButton(const QPoint& pos) const {
    return PillTheme::takesClicks(this) && rect().contains(pos);
}

void PillButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        update();
    QAbstractButton::changeEvent(event);
}

void PillButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QRectF body = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = m_filled ? PillTheme::accent() : PillTheme::field(pal);
    if (isDown())
        fill = m_filled ? fill.darker(115) : PillTheme::fieldBorder(pal);
    painter.setPen(m_filled ? QPen(Qt::NoPen) : QPen(PillTheme::fieldBorder(pal), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, cornerRadius, cornerRadius);
    if (hasFocus()) {
        painter.setPen(QPen(m_filled ? pal.color(QPalette::Highlight) : PillTheme::accent(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    }
    QColor title = m_filled ? QColor(Qt::white) : pal.color(QPalette::WindowText);
    if (!isEnabled())
        title.setAlphaF(0.4f);
    painter.setPen(title);
    painter.drawText(rect(), Qt::AlignCenter, text());
}
