#pragma once

#include "core/ImproveQueueFile.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <QVariantMap>

#include <QCoro/QCoroTask>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>

class AppSettings;
class Clock;
class CloudClient;
class Defaults;

// When the improvement reporter flushes; tests shorten the intervals.
struct ImproveReporterTiming {
    std::chrono::milliseconds firstFlush{60000};
    std::chrono::milliseconds period{900000};
    std::chrono::milliseconds finalFlushLimit{2000};
};

// Anonymous usage statistics while the user allows data sharing ("improveDataSharing").
// Events go to "improve-queue.jsonl" in the data folder, one compact JSON object per line,
// and leave it in batches of at most 200 for "/api/improve": 60 seconds after start(), then
// every 900 seconds, at once when the queue reaches 200 lines, and once more at quit.
// A batch answered 200-499 leaves the file (with the expired and unreadable lines it
// skipped); any other outcome keeps it for the next flush. Samples (a local and a cloud
// reading of one capture) are sent at once, only with a cloud token, and never queued.
//
// Every file operation and flush decision runs on the reporter's own serial worker (a
// one-thread pool), so record() and sample() return at once on any thread; requests are
// prepared and sent on the GUI thread, where the token is read and the network lives.
class ImproveReporter : public QObject {
    Q_OBJECT
public:
    static inline const QString queueFileName = QStringLiteral("improve-queue.jsonl");
    static constexpr int flushThreshold = 200;
    static constexpr int batchLimit = 200;
    static constexpr qint64 maxEventAgeSeconds = 604800;
    static constexpr qsizetype eventStringLimit = 256;
    static constexpr std::chrono::milliseconds requestTimeout{20000};

    using Timing = ImproveReporterTiming;
    using TokenProvider = std::function<std::optional<QString>()>;

    ImproveReporter(const AppSettings& settings, Defaults& defaults, CloudClient& client,
                    const Clock& clock, QString queueFile, Timing timing = {},
                    QObject* parent = nullptr);
    ~ImproveReporter() override;

    QString queueFilePath() const { return m_file.path(); }

    // Where the cloud token comes from; until set, there is none. GUI thread.
    void setTokenProvider(TokenProvider provider);
    // Starts the flush timer and empties the queue when sharing is off. Nothing is sent before.
    // GUI thread.
    void start();
    // Fire-and-forget statistics event; any thread.
    void record(const QString& name, const QVariantMap& properties);
    // Sends one sample at once when a cloud token is there; any thread.
    void sample(const QVariantMap& properties);
    // Asks for a flush; with `sync` (GUI thread) waits until it is done or the final-flush
    // limit has passed, running the event loop meanwhile so the request can go out.
    void flushNow(bool sync);
    // Deletes the queue file; a missing file is fine.
    void clearQueue();
    // Blocks until every queued file operation has run (tests, termination).
    void waitForQueue();

    // The properties that survive into a report: strings, Booleans, integers and finite
    // numbers; with `cutStrings`, strings are cut to their first 256 characters.
    static QJsonObject sanitize(const QVariantMap& properties, bool cutStrings);

Q_SIGNALS:
    // A batch got its answer (status 0: none). For tests and diagnostics.
    void batchAnswered(int status);

private:
    struct Batch {
        QJsonObject body;
        QList<QByteArray> read;      // the lines the flush read
        QList<QByteArray> remainder; // what stays in the file after an answer
    };
    using Completion = std::function<void()>;

    void flushOnWorker(const Completion& completion);
    std::optional<Batch> takeBatch();
    void finishOnWorker(int status, const Completion& completion);
    QCoro::Task<> sendBatch(QJsonObject body, Completion completion);
    void sendSample(QJsonObject body);
    QJsonObject batchEnvelope() const;

    CloudClient& m_client;
    Defaults& m_defaults;
    const Clock& m_clock;
    ImproveQueueFile m_file;
    Timing m_timing;
    TokenProvider m_tokenProvider;
    std::atomic<bool> m_enabled;
    QTimer m_timer;
    QThreadPool m_queue;

    // Worker-only state: set on the worker, read on the worker.
    bool m_inFlight = false;
    std::optional<QJsonObject> m_envelope; // known once start() ran
    QList<QByteArray> m_sentRead;
    QList<QByteArray> m_sentRemainder;
};
