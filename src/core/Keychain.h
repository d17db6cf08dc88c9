#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

class SecretStore;

// The application's small secrets (the cloud token, the signed-in e-mail and tier, the
// installation's device identifier) as UTF-8 text by account name, in the desktop's keyring.
// Every failure is silent towards the caller: a keyring that is missing, locked or slow reads
// as "nothing", the same as a signed-out user, and never keeps the caller waiting for long
// (SecretStore's contract). An empty text is a value, distinct from an absent item. Safe from
// any thread.
class Keychain : public QObject {
    Q_OBJECT
public:
    explicit Keychain(SecretStore& store, QObject* parent = nullptr);

    // The stored text; nothing when absent, unreadable or not valid UTF-8.
    std::optional<QString> get(const QString& account) const;
    // Stores `value`, or removes the item when there is none (or it cannot be encoded).
    void set(const std::optional<QString>& value, const QString& account);
    void remove(const QString& account);

    // Waits at most `limit` until what was set and removed is in the keyring; at quit.
    bool flush(std::chrono::milliseconds limit);

Q_SIGNALS:
    // The keyring's items arrived late (it was unlocked after start-up): get() may now answer
    // what it answered "nothing" for before. GUI thread.
    void itemsArrived();

private:
    void reportFailure(const QString& reason);

    SecretStore& m_store;
    bool m_failureReported = false;
};
