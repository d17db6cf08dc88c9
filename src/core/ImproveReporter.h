#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

// Anonymous usage statistics, kept in "improve-queue.jsonl" in the data folder. Every file
// operation runs on the reporter's own serial queue (a one-thread pool), so callers on any
// thread return at once.
class ImproveReporter : public QObject {
    Q_OBJECT
public:
    static ImproveReporter& shared();

    QString queueFilePath() const { return m_queueFile; }

    // Deletes the queue file; a missing file is fine.
    void clearQueue();
    // Blocks until every queued file operation has run (tests, termination).
    void waitForQueue();

private:
    ImproveReporter();

    QString m_queueFile;
    QThreadPool m_queue;
};
