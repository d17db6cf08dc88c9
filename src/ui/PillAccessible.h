#pragma once

#include <QAccessibleWidget>

// The accessible side of one pill control: a push button, a drop-down (a combo box whose
// value is the shown title) or a segmented choice (whose value is the selected segment's
// tooltip, stepped with the increase/decrease actions).
class PillAccessible : public QAccessibleWidget {
public:
    enum class Kind { Button, Dropdown, Segmented };

    PillAccessible(QWidget* widget, Kind kind);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    Kind m_kind;
};
