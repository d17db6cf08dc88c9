#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QVariantMap>

class AppSettings;

// Anonymous usage statistics, kept in "improve-queue.jsonl" in the data folder. Every file
// operation runs on the reporter's own serial queue (a one-thread pool), so callers on any
// thread return at once. Turning "improveDataSharing" off empties the queue.
class ImproveReporter : public QObject {
    Q_OBJECT
public:
    static inline const QString queueFileName = QStringLiteral("improve-queue.jsonl");

    ImproveReporter(const AppSettings& settings, QString queueFile, QObject* parent = nullptr);
    ~ImproveReporter() override;

    QString queueFilePath() const { return m_queueFile; }

    // Starts the periodic upload; the upload arrives with the reporting work.
    void start();
    // Fire-and-forget statistics event; may be called from any thread.
    void record(const QString& name, const QVariantMap& properties);
    // Fire-and-forget pairing of one capture's on-device and cloud readings, sent at once
    // for a signed-in user; may be called from any thread.
    void sample(const QVariantMap& properties);

    // Deletes the queue file; a missing file is fine.
    void clearQueue();
    // Blocks until every queued file operation has run (tests, termination).
    void waitForQueue();

private:
    QString m_queueFile;
    QThreadPool m_queue;
};
