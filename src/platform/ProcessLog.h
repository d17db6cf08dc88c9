#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One entry of the system log.
struct ProcessLogEntry {
    QDateTime date;   // UTC
    QString category; // the logging category, else the writer's identifier
    QString message;
};

// This process's own entries in the system's log (the systemd journal on Linux), for the
// tester's reports.
class ProcessLog {
public:
    struct Export {
        QList<ProcessLogEntry> entries;
        QString error; // why the log could not be read; empty when it could
    };

    virtual ~ProcessLog() = default;

    // From now on the application's own Qt messages also go to this log (and still to where
    // they went before). GUI thread, once.
    virtual void captureAppMessages() = 0;
    // This process's entries from `since` on, oldest first, at most `limit`. Any thread.
    virtual Export entriesSince(const QDateTime& since, int limit) const = 0;
};
