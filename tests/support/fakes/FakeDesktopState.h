#pragma once

#include "platform/DesktopState.h"

class FakeDesktopState : public DesktopState {
public:
    bool isCompositing() override { return compositing; }
    bool reducesMotion() override { return reduceMotion; }
    Qt::KeyboardModifiers keyboardModifiers() override { return modifiers; }
    Qt::MouseButtons mouseButtons() override { return buttons; }
    std::optional<QColor> panelForeground() override { return panel; }

    bool compositing = false;
    bool reduceMotion = false;
    Qt::KeyboardModifiers modifiers;
    Qt::MouseButtons buttons;
    std::optional<QColor> panel;
};
