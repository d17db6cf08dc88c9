#pragma once

#include <QDateTime>

// "Now" for the services whose intervals are long (minutes, days): tests give them a clock
// they move by hand instead of waiting. Implementations are safe from any thread.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};
