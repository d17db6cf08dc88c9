#pragma once

#include "platform/SecretStore.h"

#include <memory>
#include <thread>

class KeyringAccess;

// SecretStore over a blocking keyring, answered from memory so that no caller waits on it.
//
// One worker thread owns every keyring call: at construction it reads all of the
// application's items, then it carries out writes and erases one by one, in call order.
// read() answers from what this run wrote, else from what the keyring held at start. Only
// the first read() that finds the keyring's answer still missing waits for it, and at most
// `firstReadLimit`; after that a missing answer reads as nothing, and itemsArrived() says
// when it comes. A write takes effect here at once, so the application stays consistent
// even when the keyring refuses it (the value then lasts until the process ends).
class KeyringSecretStore : public SecretStore {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds defaultFirstReadLimit{2000};
    // How long destruction waits for a cancelled keyring call to return before leaving the
    // worker behind: a cancelled unlock prompt is dismissed, and gnome-keyring does not always
    // confirm the dismissal, so libsecret may wait for ever.
    static constexpr std::chrono::milliseconds shutdownLimit{2000};

    explicit KeyringSecretStore(std::unique_ptr<KeyringAccess> access,
                                std::chrono::milliseconds firstReadLimit = defaultFirstReadLimit,
                                QObject* parent = nullptr);
    // Cancels what the keyring is doing and drops writes still queued: flush() first.
    ~KeyringSecretStore() override;

    std::optional<QByteArray> read(const QString& account) override;
    void write(const QString& account, const QByteArray& value) override;
    void erase(const QString& account) override;
    bool flush(std::chrono::milliseconds limit) override;

private:
    struct Shared; // what the worker uses; it outlives the store if the worker is left behind

    std::shared_ptr<Shared> m_shared;
    std::thread m_worker;
};
