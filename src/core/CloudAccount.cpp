#include "core/CloudAccount.h"

#include "core/CloudClient.h"
#include "core/CloudJson.h"
#include "core/Keychain.h"

#include <QCryptographicHash>
#include <QDesktopServices>
#include <QPointer>
#include <QRandomGenerator>
#include <QThread>
#include <QUrlQuery>
#include <QUuid>

namespace {

QString urlBase64(const QByteArray& bytes) {
    return QString::fromLatin1(
        bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

// The value of the first query item called `name`; members are found by name, not position.
std::optional<QString> queryValue(const QUrlQuery& query, const QString& name) {
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == name)
            return value;
    }
    return std::nullopt;
}

const QString defaultTier = QStringLiteral("free");

} // namespace

CloudAccount::CloudAccount(Keychain& keychain, CloudClient& client, QObject* parent)
    : QObject(parent), m_keychain(keychain), m_client(client), m_state(storedState()) {
    connect(&m_keychain, &Keychain::itemsArrived, this, &CloudAccount::adoptLateItems);
}

CloudAccount::State CloudAccount::storedState() const {
    if (!m_keychain.get(tokenItem))
        return State::signedOut();
    return State::signedIn(m_keychain.get(emailItem).value_or(QString()),
                           m_keychain.get(tierItem).value_or(defaultTier));
}

void CloudAccount::start() {
    m_started = true;
    if (m_keychain.get(tokenItem))
        refresh();
}

// The keyring was unlocked only after start-up: what it holds is the account after all.
void CloudAccount::adoptLateItems() {
    if (m_state.isSignedIn())
        return;
    const State stored = storedState();
    if (!stored.isSignedIn())
        return;
    setState(stored);
    if (m_started)
        refresh();
}

void CloudAccount::signIn() {
    const QString verifier = randomURLBase64(32);
    const QString state = randomURLBase64(16);
    // Only the latest attempt can complete.
    m_pendingVerifier = verifier;
    m_pendingState = state;

    QUrl url = m_client.pageUrl(QStringLiteral("app/connect"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("app"), QStringLiteral("glintext"));
    query.addQueryItem(QStringLiteral("challenge"), challenge(verifier));
    query.addQueryItem(QStringLiteral("state"), state);
    url.setQuery(query);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

bool CloudAccount::handleCallback(const QUrl& url) {
    if (url.host() != QLatin1String("auth"))
        return false;
    const QUrlQuery query(url);
    const std::optional<QString> code = queryValue(query, QStringLiteral("code"));
    const std::optional<QString> state = queryValue(query, QStringLiteral("state"));
    if (!code || code->isEmpty() || !state || !m_pendingState || *m_pendingState != *state ||
        !m_pendingVerifier)
        return false;
    const QString verifier = *std::exchange(m_pendingVerifier, std::nullopt);
    m_pendingState.reset();
    exchange(*code, verifier);
    return true;
}

QCoro::Task<> CloudAccount::exchange(QString code, QString verifier) {
    QPointer<CloudAccount> self(this);
    const QJsonObject body{{QStringLiteral("code"), code},
                           {QStringLiteral("verifier"), verifier},
                           {QStringLiteral("deviceId"), deviceId()}};
    // Made in a statement of its own: g++ 12 double-destroys some temporaries built inside a
    // co_await expression.
    QCoro::Task<CloudClient::Response> request = m_client.post(QStringLiteral("app/token"), body);
    const CloudClient::Response response = co_await request;
    if (!self)
        co_return;
    const std::optional<QString> token =
        response.succeeded() ? CloudJson::string(response.body, QStringLiteral("token"))
                             : std::nullopt;
    if (!token || token->isEmpty()) {
        // The keyring is untouched, so the state says what it holds: signed out, unless an
        // earlier sign-in is still stored.
        setState(storedState());
        co_return;
    }
    const QString email =
        CloudJson::string(response.body, QStringLiteral("email")).value_or(QString());
    const QString tier =
        CloudJson::string(response.body, QStringLiteral("tier")).value_or(defaultTier);
    m_keychain.set(*token, tokenItem);
    m_keychain.set(email, emailItem);
    m_keychain.set(tier, tierItem);
    setState(State::signedIn(email, tier));
}

QCoro::Task<> CloudAccount::refresh() {
    QPointer<CloudAccount> self(this);
    const std::optional<QString> token = m_keychain.get(tokenItem);
    if (!token)
        co_return;
    QCoro::Task<CloudClient::Response> request = m_client.get(QStringLiteral("me"), *token);
    const CloudClient::Response response = co_await request;
    // After a sign-out or another sign-in meanwhile, the answer is about a token we no longer
    // hold: it must neither bring back the old account nor remove the new one.
    if (!self || m_keychain.get(tokenItem) != token)
        co_return;
    switch (response.failure()) {
    case CloudClient::Failure::None: {
        const QString email =
            CloudJson::string(response.body, QStringLiteral("email")).value_or(QString());
        const QString tier =
            CloudJson::string(response.body, QStringLiteral("tier")).value_or(defaultTier);
        m_keychain.set(email, emailItem);
        m_keychain.set(tier, tierItem);
        setState(State::signedIn(email, tier));
        break;
    }
    case CloudClient::Failure::Unauthorized:
        forgetCredentials();
        setState(State::signedOut());
        break;
    case CloudClient::Failure::Server:
    case CloudClient::Failure::Invalid:
    case CloudClient::Failure::Transport:
        break; // network trouble never signs anyone out
    }
}

void CloudAccount::signOut() {
    if (const std::optional<QString> token = m_keychain.get(tokenItem)) {
        // Fire and forget: the answer, or its absence, changes nothing here.
        m_client.post(QStringLiteral("app/logout"), QJsonObject(), *token);
    }
    forgetCredentials();
    setState(State::signedOut());
}

void CloudAccount::forgetCredentials() {
    m_keychain.remove(tokenItem);
    m_keychain.remove(emailItem);
    m_keychain.remove(tierItem);
}

QString CloudAccount::deviceId() {
    if (std::optional<QString> stored = m_keychain.get(deviceIdItem))
        return *stored;
    const QString created = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    m_keychain.set(created, deviceIdItem);
    return created;
}

void CloudAccount::setState(const State& state) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, state] { setState(state); }, Qt::QueuedConnection);
        return;
    }
    m_state = state;
    Q_EMIT statePublished(m_state);
}

QString CloudAccount::randomURLBase64(int byteCount) {
    QByteArray bytes;
    bytes.reserve(byteCount);
    while (bytes.size() < byteCount) {
        const quint32 word = QRandomGenerator::system()->generate();
        bytes.append(reinterpret_cast<const char*>(&word),
                     std::min<qsizetype>(sizeof word, byteCount - bytes.size()));
    }
    return urlBase64(bytes);
}

QString CloudAccount::challenge(const QString& verifier) {
    return urlBase64(QCryptographicHash::hash(verifier.toUtf8(), QCryptographicHash::Sha256));
}
