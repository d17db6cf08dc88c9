#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <QCoro/QCoroTask>

#include <chrono>

class AppSettings;
class CloudAccount;
class CloudClient;
class Defaults;
class Keychain;

// Keeps the travelling settings (SyncPayload) equal on every machine signed in to the same
// account. The service holds one document per account with a version it assigns. A change of
// any setting is checked 2 seconds after the last one and uploaded when the document differs
// from the one last synchronised; every published sign-in and switching sync on download the
// service's document, and versions and stored texts decide which side wins. A document is taken
// or replaced whole; an upload the service refuses as a conflict (409) gives way to the
// service's document.
//
// Nothing runs while signed out or switched off. The base version and the last blob survive
// sign-out. Every failure ends as a status, never as a message. GUI thread.
class CloudSync : public QObject {
    Q_OBJECT
public:
    enum class Status {
        Idle,    // nothing running, or the last run succeeded
        Syncing, // a download or upload is in progress
        Error,   // the last run failed; the next change, sign-in or switch-on tries again
    };
    Q_ENUM(Status)

    // Keys in the defaults domain.
    static constexpr const char* enabledKey = "cloudSyncEnabled";
    static constexpr const char* baseVersionKey = "cloudSyncBaseVersion";
    static constexpr const char* lastBlobKey = "cloudSyncLastBlob";
    static constexpr std::chrono::milliseconds defaultDebounce{2000};

    // `debounce` is the quiet time after the last change before an upload is considered.
    CloudSync(AppSettings& settings, CloudAccount& account, Keychain& keychain, CloudClient& client,
              Defaults& defaults, std::chrono::milliseconds debounce = defaultDebounce,
              QObject* parent = nullptr);

    // At start-up, once: follows every settings change and every published sign-in, the
    // current one included (so a signed-in start downloads at once).
    void start();

    // The user's switch, kept in the defaults; true unless switched off.
    bool enabled() const { return m_enabled; }
    // Stores the switch; switching on downloads at once.
    void setEnabled(bool enabled);

    Status status() const { return m_status; }

    // The current settings as a blob.
    QByteArray snapshotBlob() const;

Q_SIGNALS:
    void enabledChanged(bool enabled);
    void statusChanged(CloudSync::Status status);

private:
    void schedulePush();
    void pushIfChanged();
    // `mayYield`: a conflict may be answered with a forced download. Such a download that finds
    // no document uploads once more, without this permission, so a service answering every
    // upload with 409 and every download with nothing cannot keep the two calling each other.
    QCoro::Task<> push(QByteArray blob, bool mayYield = true);
    void commit(const QByteArray& blob, qint64 version);
    void pull(bool force);
    QCoro::Task<> pullNow(bool force, bool afterConflict = false);
    void applyRemote(const QByteArray& blob, qint64 version);
    void setStatus(Status status);

    bool signedIn() const;
    qint64 baseVersion() const;
    std::optional<QByteArray> lastBlob() const;

    AppSettings& m_settings;
    CloudAccount& m_account;
    Keychain& m_keychain;
    CloudClient& m_client;
    Defaults& m_defaults;
    bool m_enabled;
    Status m_status = Status::Idle;
    bool m_applyingRemote = false;
    bool m_started = false;
    QTimer m_pushTimer;
    // Uploads go one at a time: a change checked while one is on its way is checked again when
    // it ends, on top of the version it got (two at once would refuse each other).
    int m_pushesInFlight = 0;
    bool m_checkAgain = false;
};
