#pragma once

#include "platform/SecretStore.h"

#include <QHash>

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
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
    struct Operation {
        QString account;
        std::optional<QByteArray> value; // nothing: erase
    };
    enum class Load { Pending, Done, Failed };

    void enqueue(const QString& account, std::optional<QByteArray> value);
    void run();
    void load();
    void carryOut(const Operation& operation);

    std::unique_ptr<KeyringAccess> m_access;
    const std::chrono::milliseconds m_firstReadLimit;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    Load m_load = Load::Pending;
    QHash<QString, QByteArray> m_loaded;
    std::map<QString, std::optional<QByteArray>> m_written; // this run's own values win
    bool m_waited = false;
    bool m_answeredWithoutItems = false;
    std::deque<Operation> m_queue;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_worker; // last: starts after everything above exists
};
