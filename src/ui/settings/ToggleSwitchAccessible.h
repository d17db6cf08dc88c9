#pragma once

#include <QAccessibleWidget>

// The accessible side of a ToggleSwitch: a check box (the closest role the toolkit has to a
// switch) named by the switch's accessible name, checked while on, with a toggle action.
class ToggleSwitchAccessible : public QAccessibleWidget {
public:
    explicit ToggleSwitchAccessible(QWidget* widget);

    // Registers the factory once per process; every switch calls it when built.
    static void install();

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;
};
