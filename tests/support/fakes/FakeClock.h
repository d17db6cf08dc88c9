#pragma once

#include "base/Clock.h"

#include <mutex>

// A clock that stands still until the test moves it. Safe from any thread, as the reporters'
// workers read it.
class FakeClock : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC))
        : m_now(std::move(start)) {}
    QDateTime now() const override {
        std::lock_guard guard(m_lock);
        return m_now;
    }
    void set(const QDateTime& now) {
        std::lock_guard guard(m_lock);
        m_now = now;
    }
    void advance(qint64 msecs) {
        std::lock_guard guard(m_lock);
        m_now = m_now.addMSecs(msecs);
    }

private:
    mutable std::mutex m_lock;
    QDateTime m_now;
};
