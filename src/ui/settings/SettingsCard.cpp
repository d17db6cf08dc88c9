#include "ui/settings/SettingsCard.h"

#include "ui/PillTheme.h"

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr qreal cornerRadius = 10;
constexpr int dividerInset = 14;

} // namespace

SettingsCard::SettingsCard(QWidget* parent) : QWidget(parent), m_layout(new QVBoxLayout(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

void SettingsCard::addRow(QWidget* row) {
    m_layout->addWidget(row);
    update();
}

void SettingsCard::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

void SettingsCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const bool dark = PillTheme::isDark(pal);
    const QColor fill = dark ? QColor(255, 255, 255, 16) : pal.color(QPalette::Base);
    painter.setPen(QPen(PillTheme::fieldBorder(pal), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius,
                            cornerRadius);

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(PillTheme::fieldBorder(pal), 1));
    bool first = true;
    for (int i = 0; i < m_layout->count(); ++i) {
        const QWidget* row = m_layout->itemAt(i)->widget();
        if (!row || !row->isVisible())
            continue;
        if (!first)
            painter.drawLine(dividerInset, row->y(), width() - dividerInset, row->y());
        first = false;
    }
}
