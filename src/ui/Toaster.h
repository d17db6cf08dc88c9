#pragma once

#include <QString>

// The one call for transient feedback; callers pass localised text. HUDToast is the one the
// application shows.
class Toaster {
public:
    virtual ~Toaster() = default;
    virtual void show(const QString& text) = 0;
};
