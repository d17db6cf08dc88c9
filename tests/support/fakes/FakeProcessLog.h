#pragma once

#include "platform/ProcessLog.h"

#include <mutex>

// A system log whose entries the test writes; it answers from any thread, as the real one.
class FakeProcessLog : public ProcessLog {
public:
    void captureAppMessages() override { capturing = true; }
    Export entriesSince(const QDateTime& since, int limit) const override {
        std::lock_guard guard(m_lock);
        Export result;
        result.error = error;
        if (!error.isEmpty())
            return result;
        for (const ProcessLogEntry& entry : entries) {
            if (entry.date >= since && result.entries.size() < limit)
                result.entries.append(entry);
        }
        askedSince.append(since);
        return result;
    }
    void add(const ProcessLogEntry& entry) {
        std::lock_guard guard(m_lock);
        entries.append(entry);
    }

    bool capturing = false;
    QString error;
    QList<ProcessLogEntry> entries;
    mutable QList<QDateTime> askedSince;

private:
    mutable std::mutex m_lock;
};
