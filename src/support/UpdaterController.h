#pragma once

#include "support/Appcast.h"

#include <QDateTime>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

class Defaults;
class QNetworkAccessManager;

// Software updates from the configured feed. The application builds one only when the build
// has a feed address (feedConfigured()). A check reads the feed, picks the newest release
// newer than this build and reports it; a window of the user interface shows the outcome.
// While automatic checks are on (a persisted flag, on unless the user turned it off), a
// check runs once a day, counted from the last one, also across restarts. GUI thread.
class UpdaterController : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds defaultInterval{24 * 60 * 60 * 1000};
    static constexpr std::chrono::milliseconds defaultTimeout{30000};
    static inline const QString automaticChecksKey = QStringLiteral("SUEnableAutomaticChecks");
    static inline const QString lastCheckKey = QStringLiteral("SULastCheckTime");

    struct Options {
        QUrl feedUrl;
        QString currentVersion;
        std::chrono::milliseconds checkInterval = defaultInterval;
        std::chrono::milliseconds timeout = defaultTimeout;
        std::function<QDateTime()> now; // the system clock when empty
    };

    struct Result {
        enum class Outcome { UpToDate, UpdateAvailable, Failed };
        Outcome outcome = Outcome::Failed;
        bool userInitiated = false;
        QString currentVersion;
        std::optional<Appcast::Item> item; // the offered release
        QString error;                     // why the check failed
    };

    UpdaterController(QNetworkAccessManager& network, Defaults& defaults, Options options,
                      QObject* parent = nullptr);

    static bool feedConfigured();
    // The build's feed (GLINTEXT_FEED_URL at configure time); empty unless http(s).
    static QUrl configuredFeed();

    // Starts the automatic schedule (when the flag is on).
    void start();
    // A check the user asked for: its outcome is always reported.
    void checkForUpdates();
    bool isChecking() const { return m_reply != nullptr; }

    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool on);
    // When the next automatic check is due (invalid while automatic checks are off).
    QDateTime nextCheckDue() const;

Q_SIGNALS:
    // A user's check always ends here; an automatic one only when it found a release.
    void checkFinished(const UpdaterController::Result& result);

private:
    void check(bool userInitiated);
    void finished(QNetworkReply* reply, bool userInitiated);
    void schedule();
    QDateTime now() const;

    QNetworkAccessManager& m_network;
    Defaults& m_defaults;
    Options m_options;
    QTimer m_timer;
    QPointer<QNetworkReply> m_reply;
    bool m_pendingUserCheck = false;
};
