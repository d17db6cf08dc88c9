#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

// The desktop's store for the application's small secrets (the cloud token and what goes with
// it): bytes by account name, all under the application's one name in the keyring.
//
// A call never waits on the keyring for long: the keyring may be missing, slow to start, or
// locked behind an unlock prompt that nobody answers. What the application writes takes
// effect for read() at once and reaches the keyring in the background, in call order. Safe
// from any thread.
class SecretStore : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The stored bytes; nothing when there is no such item, or when the keyring has not
    // answered within the store's bound.
    virtual std::optional<QByteArray> read(const QString& account) = 0;
    virtual void write(const QString& account, const QByteArray& value) = 0;
    // Removing an absent item is no error.
    virtual void erase(const QString& account) = 0;
    // Waits at most `limit` until every earlier write and erase has reached the keyring (or
    // failed there); true when none is left.
    virtual bool flush(std::chrono::milliseconds limit) = 0;

Q_SIGNALS:
    // The keyring's items arrived after read() had already answered without them (the user
    // unlocked the keyring late, say). Emitted from any thread.
    void itemsArrived();
    // The keyring refused or could not be reached; `reason` names no secret. From any thread.
    void failed(const QString& reason);
};
