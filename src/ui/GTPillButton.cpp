#include "ui/GTPillButton.h"

GTPillButton::GTPillButton(const QString& title, bool filled, std::function<void()> action,
                           QWidget* parent)
    : PillButton(title, filled, parent), m_action(std::move(action)) {
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
}
