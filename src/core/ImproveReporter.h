#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QVariantMap>

// Anonymous usage statistics, kept in "improve-queue.jsonl" in the data folder. Every file
// operation runs on the reporter's own serial queue (a one-thread pool), so callers on any
// thread return at once.
class ImproveReporter : public QObject {
    Q_OBJECT
public:
    static ImproveReporter& shared();

    QString queueFilePath() const { return m_queueFile; }

    // Starts the periodic upload; the upload arrives with the reporting work.
    void start();
    // Fire-and-forget statistics event; may be called from any thread.
    void record(const QString& name, const QVariantMap& properties);

    // Deletes the queue file; a missing file is fine.
    void clearQueue();
    // Blocks until every queued file operation has run (tests, termination).
    void waitForQueue();

private:
    ImproveReporter();

    QString m_queueFile;
    QThreadPool m_queue;
};
