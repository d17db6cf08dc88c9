#pragma once

#include <QString>

#include <functional>

class QWidget;

// One page of the guide. The closures are read each time the page is shown, so texts follow a
// language change and a permission row shows the state of the moment.
struct OKStep {
    // Declared in this order; Setup is part of the engine but no page of the application.
    enum class Kind { Welcome, Permissions, Setup, Tutorial, Consent };

    Kind kind = Kind::Welcome;
    // Builds the page body; the view owns what it returns.
    std::function<QWidget*()> content;
    // A permission page: whether the permission is granted now.
    std::function<bool()> requiredGranted;
    // A permission page that offers "later" while it waits.
    bool skippable = false;
    // Actions answer whether the guide should move on.
    std::function<QString()> primaryTitle;
    std::function<bool()> primaryAction;
    std::function<QString()> secondaryTitle;
    std::function<bool()> secondaryAction;
};
