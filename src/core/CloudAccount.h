#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <optional>

class CloudClient;
class Keychain;

// The cloud account: signs the user in through the web browser (OAuth authorisation code with
// PKCE S256 and a state value), keeps the bearer token, e-mail and tier in the keyring,
// refreshes them once at start-up, and signs out. Other cloud clients read the stored token
// themselves; the presence of "cloudToken" is the one test of being signed in.
//
// The state is published on the GUI thread on every assignment, also of an equal value (the
// sync engine pulls on each signedIn it sees). GUI thread.
class CloudAccount : public QObject {
    Q_OBJECT
public:
    class State {
    public:
        State() = default; // signed out
        static State signedOut() { return {}; }
        // `email` may be empty; `tier` is the plan's name ("free" when the service gave none).
        static State signedIn(QString email, QString tier) {
            return State(true, std::move(email), std::move(tier));
        }

        bool isSignedIn() const { return m_signedIn; }
        const QString& email() const { return m_email; }
        const QString& tier() const { return m_tier; }

        // Both signed out, or both signed in with the same e-mail and tier.
        friend bool operator==(const State&, const State&) = default;

    private:
        State(bool signedIn, QString email, QString tier)
            : m_signedIn(signedIn), m_email(std::move(email)), m_tier(std::move(tier)) {}

        bool m_signedIn = false;
        QString m_email;
        QString m_tier;
    };

    // Keyring items.
    static constexpr const char* tokenItem = "cloudToken";
    static constexpr const char* emailItem = "cloudEmail";
    static constexpr const char* tierItem = "cloudTier";
    static constexpr const char* deviceIdItem = "cloudDeviceId";

    // The initial state comes from the keyring, without the network.
    CloudAccount(Keychain& keychain, CloudClient& client, QObject* parent = nullptr);

    const State& state() const { return m_state; }

    // At start-up, once: refreshes the account when a token is stored.
    void start();
    // Prepares a new verifier and state (forgetting any earlier attempt) and opens the sign-in
    // page in the default browser.
    void signIn();
    // True when `url` was the callback of the sign-in in progress and its code exchange has
    // started; a callback is accepted at most once.
    bool handleCallback(const QUrl& url);
    // Tells the service (without waiting for it) and forgets the token at once; works offline.
    void signOut();
    // Re-reads e-mail and tier; only a rejected token (401) signs out, network trouble never.
    QCoro::Task<> refresh();

    // The installation's identifier, created and stored on first use, kept across sign-outs.
    QString deviceId();

    // randomURLBase64(n): n random bytes, base64url without padding (32 bytes: 43 characters).
    static QString randomURLBase64(int byteCount);
    // The S256 code challenge of `verifier` (RFC 7636).
    static QString challenge(const QString& verifier);

Q_SIGNALS:
    void statePublished(const CloudAccount::State& state);

private:
    QCoro::Task<> exchange(QString code, QString verifier);
    void setState(const State& state);
    State storedState() const;
    void forgetCredentials();
    void adoptLateItems();

    Keychain& m_keychain;
    CloudClient& m_client;
    State m_state;
    std::optional<QString> m_pendingVerifier;
    std::optional<QString> m_pendingState;
    bool m_started = false;
};

Q_DECLARE_METATYPE(CloudAccount::State)
