#include "ui/PillAccessible.h"

#include "ui/CapsuleSegmentedControl.h"
#include "ui/GTDropdown.h"

#include <QAbstractButton>
#include <QMenu>

namespace {

QAccessible::Role roleFor(PillAccessible::Kind kind) {
    switch (kind) {
    case PillAccessible::Kind::Button:
        return QAccessible::Button;
    case PillAccessible::Kind::Dropdown:
        return QAccessible::ComboBox;
    case PillAccessible::Kind::Segmented:
        return QAccessible::PageTabList;
    }
    return QAccessible::Button;
}

} // namespace

PillAccessible::PillAccessible(QWidget* widget, Kind kind)
    : QAccessibleWidget(widget, roleFor(kind)), m_kind(kind) {}

QString PillAccessible::text(QAccessible::Text t) const {
    const QString own = QAccessibleWidget::text(t);
    if (m_kind == Kind::Segmented) {
        auto* control = static_cast<CapsuleSegmentedControl*>(widget());
        if (t == QAccessible::Value)
            return control->tooltipAt(control->selectedIndex());
        return own;
    }
    const QString title = static_cast<QAbstractButton*>(widget())->text();
    if (t == QAccessible::Value && m_kind == Kind::Dropdown)
        return title;
    // A button is named by its title; a drop-down by its accessible name, else its value.
    if (t == QAccessible::Name && own.isEmpty())
        return title;
    return own;
}

QAccessible::State PillAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    if (m_kind == Kind::Dropdown) {
        s.hasPopup = true;
        s.expandable = true;
        const QMenu* menu = static_cast<GTDropdown*>(widget())->menu();
        s.expanded = menu && menu->isVisible();
        s.collapsed = !s.expanded;
    }
    if (m_kind == Kind::Button)
        s.pressed = static_cast<QAbstractButton*>(widget())->isDown();
    return s;
}

QStringList PillAccessible::actionNames() const {
    if (!widget()->isEnabled())
        return {};
    switch (m_kind) {
    case Kind::Button:
        return {pressAction()};
    case Kind::Dropdown:
        return {showMenuAction(), pressAction()};
    case Kind::Segmented:
        return {increaseAction(), decreaseAction()};
    }
    return {};
}

void PillAccessible::doAction(const QString& actionName) {
    if (!widget()->isEnabled())
        return;
    if (m_kind == Kind::Segmented) {
        auto* control = static_cast<CapsuleSegmentedControl*>(widget());
        if (actionName == increaseAction())
            control->choose(std::min(control->selectedIndex() + 1, control->segmentCount() - 1));
        else if (actionName == decreaseAction())
            control->choose(std::max(control->selectedIndex() - 1, 0));
        return;
    }
    if (actionName == pressAction() || actionName == showMenuAction())
        static_cast<QAbstractButton*>(widget())->click();
}

QStringList PillAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction() || actionName == showMenuAction())
        return {QStringLiteral("Space")};
    if (actionName == increaseAction())
        return {QStringLiteral("Right")};
    if (actionName == decreaseAction())
        return {QStringLiteral("Left")};
    return {};
}
