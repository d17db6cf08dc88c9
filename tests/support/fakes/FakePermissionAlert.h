#pragma once

#include "ui/PermissionAlert.h"

class FakePermissionAlert : public PermissionAlert {
public:
    void present() override { ++presented; }
    int presented = 0;
};
