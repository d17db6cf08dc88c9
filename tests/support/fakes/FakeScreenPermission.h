#pragma once

#include "platform/ScreenPermission.h"

// A permission the test grants or withholds; counts the prompts and the settings opened.
class FakeScreenPermission : public ScreenPermission {
public:
    bool hasAccess() override { return granted; }
    void requestAccess() override { ++requests; }
    void openSettings() override { ++opened; }
    bool granted = true;
    int requests = 0;
    int opened = 0;
};
