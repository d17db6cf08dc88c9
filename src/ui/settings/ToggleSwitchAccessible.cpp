#include "ui/settings/ToggleSwitchAccessible.h"

#include "ui/settings/ToggleSwitch.h"

#include <QAccessible>

#include <mutex>

namespace {

QAccessibleInterface* create(const QString&, QObject* object) {
    if (auto* toggle = qobject_cast<ToggleSwitch*>(object))
        return new ToggleSwitchAccessible(toggle);
    return nullptr;
}

ToggleSwitch* toggleOf(QWidget* widget) {
    return static_cast<ToggleSwitch*>(widget);
}

} // namespace

ToggleSwitchAccessible::ToggleSwitchAccessible(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::CheckBox) {}

void ToggleSwitchAccessible::install() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(&create); });
}

QString ToggleSwitchAccessible::text(QAccessible::Text t) const {
    const QString own = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && own.isEmpty())
        return toggleOf(widget())->text();
    return own;
}

QAccessible::State ToggleSwitchAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = toggleOf(widget())->isChecked();
    s.pressed = toggleOf(widget())->isDown();
    return s;
}

QStringList ToggleSwitchAccessible::actionNames() const {
    if (!widget()->isEnabled())
        return {};
    return {toggleAction()};
}

void ToggleSwitchAccessible::doAction(const QString& actionName) {
    if (!widget()->isEnabled())
        return;
    if (actionName == toggleAction() || actionName == pressAction())
        toggleOf(widget())->click();
}

QStringList ToggleSwitchAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == toggleAction())
        return {QStringLiteral("Space")};
    return {};
}
