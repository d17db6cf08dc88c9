#pragma once

#include <QStyledItemDelegate>

// Draws one tab of the settings sidebar: the tab's icon chip and title, on an accent
// highlight when it is the selected tab. The item's UserRole holds its SettingsTab.
class SidebarTabDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int rowHeight = 34;
    static constexpr int chipSize = 22;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
