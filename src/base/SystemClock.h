#pragma once

#include "base/Clock.h"

// The wall clock, in UTC.
class SystemClock : public Clock {
public:
    QDateTime now() const override;
};
