#include "core/CloudSync.h"

#include "core/AppSettings.h"
#include "core/CloudAccount.h"
#include "core/CloudClient.h"
#include "core/CloudJson.h"
#include "core/Defaults.h"
#include "core/Keychain.h"
#include "core/SyncPayload.h"

#include <QPointer>

namespace {

const QString documentPath = QStringLiteral("sync/glintext");

// How a request to the document ended, as this engine reads it.
enum class Outcome { Success, Conflict, Unauthorized, Failed };

Outcome outcomeOf(const CloudClient::Response& response) {
    if (response.succeeded())
        return Outcome::Success;
    if (response.status == 409)
        return Outcome::Conflict;
    if (response.status == 401)
        return Outcome::Unauthorized;
    return Outcome::Failed; // any other status, or no HTTP answer at all
}

} // namespace

CloudSync::CloudSync(AppSettings& settings, CloudAccount& account, Keychain& keychain,
                     CloudClient& client, Defaults& defaults, std::chrono::milliseconds debounce,
                     QObject* parent)
    : QObject(parent), m_settings(settings), m_account(account), m_keychain(keychain),
      m_client(client), m_defaults(defaults),
      m_enabled(defaults.boolValue(QString::fromLatin1(enabledKey)).value_or(true)) {
    m_pushTimer.setSingleShot(true);
    m_pushTimer.setInterval(debounce);
    connect(&m_pushTimer, &QTimer::timeout, this, &CloudSync::pushIfChanged);
}

void CloudSync::start() {
    if (m_started)
        return;
    m_started = true;
    connect(&m_settings, &AppSettings::willChange, this, &CloudSync::schedulePush);
    connect(&m_account, &CloudAccount::statePublished, this,
            [this](const CloudAccount::State& state) {
                if (state.isSignedIn())
                    pull(false);
            });
    // The state already published counts as published to us too.
    if (m_account.state().isSignedIn())
        pull(false);
}

void CloudSync::setEnabled(bool enabled) {
    m_enabled = enabled;
    m_defaults.setBool(QString::fromLatin1(enabledKey), enabled);
    Q_EMIT enabledChanged(enabled);
    // Switching off cancels nothing: every step checks the switch before it acts.
    if (enabled)
        pull(false);
}

bool CloudSync::signedIn() const {
    return m_keychain.get(QString::fromLatin1(CloudAccount::tokenItem)).has_value();
}

qint64 CloudSync::baseVersion() const {
    return m_defaults.integerValue(QString::fromLatin1(baseVersionKey)).value_or(0);
}

std::optional<QByteArray> CloudSync::lastBlob() const {
    const std::optional<QString> stored = m_defaults.stringValue(QString::fromLatin1(lastBlobKey));
    if (!stored)
        return std::nullopt;
    return stored->toUtf8();
}

QByteArray CloudSync::snapshotBlob() const {
    return SyncPayload::from(m_settings).blob();
}

// Called before every settings change, whether it travels or not; a burst of changes ends in
// one check, 2 seconds after the last.
void CloudSync::schedulePush() {
    if (!m_enabled || m_applyingRemote || !signedIn())
        return;
    m_pushTimer.start();
}

void CloudSync::pushIfChanged() {
    if (!m_enabled || !signedIn())
        return;
    if (m_pushesInFlight > 0) {
        m_checkAgain = true;
        return;
    }
    const QByteArray blob = snapshotBlob();
    // Equal to what was last synchronised: nothing that travels has changed.
    if (lastBlob() == blob)
        return;
    push(blob);
}

QCoro::Task<> CloudSync::push(QByteArray blob, bool mayYield) {
    QPointer<CloudSync> self(this);
    const std::optional<QString> token =
        m_keychain.get(QString::fromLatin1(CloudAccount::tokenItem));
    if (!token)
        co_return;
    ++m_pushesInFlight;
    setStatus(Status::Syncing);
    const QJsonObject body{{QStringLiteral("blob"), QString::fromUtf8(blob)},
                           {QStringLiteral("baseVersion"), baseVersion()},
                           {QStringLiteral("deviceId"), m_account.deviceId()}};
    const CloudClient::Request request{"PUT", m_client.apiUrl(documentPath), body, *token};
    QCoro::Task<CloudClient::Response> sending = m_client.send(request);
    const CloudClient::Response response = co_await sending;
    if (!self)
        co_return;
    switch (outcomeOf(response)) {
    case Outcome::Success:
        commit(
            blob,
            CloudJson::integer(response.body, QStringLiteral("version")).value_or(baseVersion()));
        break;
    case Outcome::Conflict:
        if (mayYield) {
            // The service holds a document this upload was not based on: it wins.
            QCoro::Task<> yielding = pullNow(true, true);
            co_await yielding;
            if (!self)
                co_return;
        } else {
            setStatus(Status::Error);
        }
        break;
    case Outcome::Unauthorized:
    case Outcome::Failed:
        setStatus(Status::Error); // the stored state is unchanged, so the next check uploads
        break;
    }
    --m_pushesInFlight;
    if (m_pushesInFlight == 0 && std::exchange(m_checkAgain, false))
        pushIfChanged();
}

void CloudSync::commit(const QByteArray& blob, qint64 version) {
    m_defaults.setInteger(QString::fromLatin1(baseVersionKey), version);
    m_defaults.setString(QString::fromLatin1(lastBlobKey), QString::fromUtf8(blob));
    setStatus(Status::Idle);
}

void CloudSync::pull(bool force) {
    pullNow(force);
}

QCoro::Task<> CloudSync::pullNow(bool force, bool afterConflict) {
    QPointer<CloudSync> self(this);
    const std::optional<QString> token =
        m_keychain.get(QString::fromLatin1(CloudAccount::tokenItem));
    if (!m_enabled || !token)
        co_return;
    setStatus(Status::Syncing);
    QCoro::Task<CloudClient::Response> fetching = m_client.get(documentPath, *token);
    const CloudClient::Response response = co_await fetching;
    if (!self)
        co_return;
    switch (outcomeOf(response)) {
    case Outcome::Success:
        break;
    case Outcome::Unauthorized:
        setStatus(Status::Idle); // signing out is the account's business
        co_return;
    case Outcome::Conflict:
    case Outcome::Failed:
        setStatus(Status::Error);
        co_return;
    }
    const qint64 remoteVersion =
        CloudJson::integer(response.body, QStringLiteral("version")).value_or(0);
    const std::optional<QString> remoteBlob =
        CloudJson::string(response.body, QStringLiteral("blob"));
    if (remoteVersion == 0 || !remoteBlob) {
        // Nothing usable on the service: ours becomes the document.
        QCoro::Task<> uploading = push(snapshotBlob(), !afterConflict);
        co_await uploading;
        co_return;
    }
    if (!force && baseVersion() >= remoteVersion) {
        const QByteArray local = snapshotBlob();
        if (lastBlob() == local) {
            setStatus(Status::Idle);
            co_return;
        }
        // Edits made since the last sync, or never recorded, go up.
        QCoro::Task<> uploading = push(local);
        co_await uploading;
        co_return;
    }
    applyRemote(remoteBlob->toUtf8(), remoteVersion);
}

// Synchronous on the GUI thread, so every settings notification the application raises
// reaches schedulePush() while the flag is up: what comes from the service is not sent back.
void CloudSync::applyRemote(const QByteArray& blob, qint64 version) {
    if (const std::optional<SyncPayload> payload = SyncPayload::decode(blob)) {
        m_applyingRemote = true;
        payload->apply(m_settings);
        m_applyingRemote = false;
    }
    // Recorded even when it does not decode: the service's text, not a new local snapshot.
    m_defaults.setInteger(QString::fromLatin1(baseVersionKey), version);
    m_defaults.setString(QString::fromLatin1(lastBlobKey), QString::fromUtf8(blob));
    setStatus(Status::Idle);
}

void CloudSync::setStatus(Status status) {
    if (m_status == status)
        return;
    m_status = status;
    Q_EMIT statusChanged(status);
}
