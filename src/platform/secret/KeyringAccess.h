#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Blocking calls to the desktop's keyring, for the one worker thread of KeyringSecretStore.
// A call may wait as long as the keyring does (an unlock prompt waits for the user); cancel()
// makes the call in progress, and every later one, fail at once.
class KeyringAccess {
public:
    struct Items {
        bool ok = false;
        QHash<QString, QByteArray> values; // by account name
        QString error;                     // when !ok; names no secret
    };

    virtual ~KeyringAccess() = default;

    // Every item of the application's schema, unlocking the keyring when it is locked.
    virtual Items loadAll() = 0;
    // Creates or replaces the item of `account`.
    virtual bool store(const QString& account, const QByteArray& value, QString* error) = 0;
    // Removes the item of `account`; an absent item is success.
    virtual bool clear(const QString& account, QString* error) = 0;
    // Any thread.
    virtual void cancel() = 0;
};
