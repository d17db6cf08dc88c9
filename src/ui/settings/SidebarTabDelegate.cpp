#include "ui/settings/SidebarTabDelegate.h"

#include "ui/PillTheme.h"
#include "ui/settings/SettingsTab.h"
#include "ui/settings/TabGlyph.h"

#include <QPainter>

void SidebarTabDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF row = QRectF(option.rect).adjusted(8, 1, -8, -1);
    const bool selected = option.state & QStyle::State_Selected;
    const bool focused = option.state & QStyle::State_HasFocus;
    const QPalette& pal = option.palette;
    if (selected) {
        QColor fill = PillTheme::accent();
        if (!(option.state & QStyle::State_Active))
            fill = PillTheme::isDark(pal) ? QColor(255, 255, 255, 40) : QColor(0, 0, 0, 30);
        painter->setPen(Qt::NoPen);
        painter->setBrush(fill);
        painter->drawRoundedRect(row, 7, 7);
    } else if (option.state & QStyle::State_MouseOver) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(PillTheme::field(pal));
        painter->drawRoundedRect(row, 7, 7);
    }
    if (focused && !selected) {
        painter->setPen(QPen(PillTheme::accent(), 1.5));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(row.adjusted(1, 1, -1, -1), 6, 6);
    }

    const auto tab = SettingsTab(index.data(Qt::UserRole).toInt());
    const QRectF chip(row.left() + 6, row.center().y() - chipSize / 2.0, chipSize, chipSize);
    TabGlyph::paintChip(*painter, chip, tab);

    const bool whiteText = selected && (option.state & QStyle::State_Active);
    painter->setPen(whiteText ? QColor(Qt::white) : pal.color(QPalette::WindowText));
    painter->setFont(option.font);
    const QRectF text = row.adjusted(chipSize + 16, 0, -6, 0);
    const QString title = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                        Qt::ElideRight, int(text.width()));
    painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft, title);
    painter->restore();
}

QSize SidebarTabDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), std::max(rowHeight, option.fontMetrics.height() + 12)};
}
