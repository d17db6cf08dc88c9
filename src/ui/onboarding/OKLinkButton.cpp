#include "ui/onboarding/OKLinkButton.h"

#include "ui/PillTheme.h"

#include <QPainter>

namespace {

constexpr int padding = 4;
constexpr int flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap;

} // namespace

OKLinkButton::OKLinkButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QRect OKLinkButton::textBounds(int width) const {
    return fontMetrics().boundingRect(QRect(0, 0, std::max(width - 2 * padding, 1), 10000), flags,
                                      text());
}

QSize OKLinkButton::sizeHint() const {
    const int oneLine = fontMetrics().horizontalAdvance(text()) + 2 * padding + 2;
    return {oneLine, fontMetrics().height() + 2 * padding};
}

QSize OKLinkButton::minimumSizeHint() const {
    return {40, fontMetrics().height() + 2 * padding};
}

int OKLinkButton::heightForWidth(int width) const {
    return textBounds(width).height() + 2 * padding;
}

void OKLinkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor colour = PillTheme::accent();
    if (isDown())
        colour = colour.darker(130);
    painter.setPen(colour);
    QFont font = painter.font();
    font.setUnderline(underMouse() || hasFocus());
    painter.setFont(font);
    painter.drawText(rect().adjusted(padding, padding, -padding, -padding), flags, text());
    if (hasFocus()) {
        painter.setPen(QPen(PillTheme::accent(), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 5, 5);
    }
}
