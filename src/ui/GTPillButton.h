#pragma once

#include "ui/PillButton.h"

#include <functional>

// A pill button that runs its action when pressed (by click, Space or accessibility action).
class GTPillButton : public PillButton {
    Q_OBJECT
public:
    GTPillButton(const QString& title, bool filled, std::function<void()> action,
                 QWidget* parent = nullptr);

    void setAction(std::function<void()> action) { m_action = std::move(action); }

private:
    std::function<void()> m_action;
};
