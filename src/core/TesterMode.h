#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTimer>

#include <QCoro/QCoroTask>

#include <chrono>

class Clock;
class CloudClient;
class Defaults;
class ProcessLog;

// A hidden switch for testers of pre-release builds. While it is on, the application's
// diagnostic text (the debug log's tail and this process's entries in the system journal
// since the last upload) goes to "/api/testlog": at each start, when switched on, every 30
// minutes, and once more when switched off. Nothing is shown to the user; every failure is
// silent and nothing is retried. The flag ("testerModeEnabled") and the start of the next
// upload's window ("testerLastExport") are kept in the defaults. GUI thread.
class TesterMode : public QObject {
    Q_OBJECT
public:
    static constexpr const char* enabledKey = "testerModeEnabled";
    static constexpr const char* lastExportKey = "testerLastExport";
    static constexpr std::chrono::milliseconds defaultUploadPeriod{1800 * 1000};
    static constexpr int maxLogEntries = 4000;
    static constexpr qsizetype maxReportBytes = 700000;

    // Reads both persisted values; with no stored window start, the window begins 30
    // minutes before now. `uploadPeriod` is for tests.
    TesterMode(Defaults& defaults, CloudClient& client, ProcessLog& processLog, const Clock& clock,
               std::chrono::milliseconds uploadPeriod = defaultUploadPeriod,
               QObject* parent = nullptr);

    bool enabled() const { return m_enabled; }
    QDateTime lastExport() const { return m_lastExport; }
    bool timerActive() const { return m_timer.isActive(); }

    // At start-up, once: sends the app's messages to the journal, and when the mode is on
    // logs the session start, starts the timer and uploads.
    void start();
    // On becomes off and off becomes on, each with its log line and an upload.
    void toggle();
    // Sends the window since the last upload; the window is consumed even if sending fails.
    void upload();

    // The report text, cut to its last 700,000 bytes' worth of characters.
    static QString reportText(const QString& appLog, const QDateTime& since,
                              const QString& processLogText);
    static QString cutToLimit(const QString& text);

Q_SIGNALS:
    void enabledChanged(bool enabled);
    // A report was handed to the network (for tests).
    void uploadStarted();

private:
    void scheduleTimer();
    QCoro::Task<> send(QDateTime since, QString tail);
    QJsonObject body(const QString& log) const;

    Defaults& m_defaults;
    CloudClient& m_client;
    ProcessLog& m_processLog;
    const Clock& m_clock;
    std::chrono::milliseconds m_uploadPeriod;
    bool m_enabled = false;
    QDateTime m_lastExport;
    QTimer m_timer;
};
