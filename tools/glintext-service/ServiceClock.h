#pragma once

#include <QString>

class ServiceStore;

// "Now" for expiry and quota days. With test controls on, tests may move it forward
// (kept in the database, so every process of one test sees the same time).
class ServiceClock {
public:
    ServiceClock(ServiceStore& store, bool adjustable);

    qint64 now() const;  // seconds since 1970 UTC
    QString day() const; // the quota day, "2026-11-01" (UTC)
    // Moves the clock forward by `seconds`; returns the total offset.
    qint64 advance(qint64 seconds);

private:
    qint64 offset() const;

    ServiceStore& store_;
    bool adjustable_;
};
