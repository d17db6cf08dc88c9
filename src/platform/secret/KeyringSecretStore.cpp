#include "platform/secret/KeyringSecretStore.h"

#include "platform/secret/KeyringAccess.h"

#include <QHash>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

struct KeyringSecretStore::Shared {
    struct Operation {
        QString account;
        std::optional<QByteArray> value; // nothing: erase
    };
    enum class Load { Pending, Done, Failed };

    Shared(std::unique_ptr<KeyringAccess> keyring, std::chrono::milliseconds limit)
        : access(std::move(keyring)), firstReadLimit(limit) {}

    void run();
    void load();
    void carryOut(const Operation& operation);
    void announce(const QString* failure);

    const std::unique_ptr<KeyringAccess> access;
    const std::chrono::milliseconds firstReadLimit;

    std::mutex mutex;
    std::condition_variable changed;
    Load loadState = Load::Pending;
    QHash<QString, QByteArray> loaded;
    std::map<QString, std::optional<QByteArray>> written; // this run's own values win
    bool waited = false;
    bool answeredWithoutItems = false;
    std::deque<Operation> queue;
    bool busy = false;
    bool stopping = false;
    bool finished = false;

    // The store, while it exists; the worker announces through it only under this lock.
    std::mutex announcing;
    KeyringSecretStore* store = nullptr;
};

KeyringSecretStore::KeyringSecretStore(std::unique_ptr<KeyringAccess> access,
                                       std::chrono::milliseconds firstReadLimit, QObject* parent)
    : SecretStore(parent), m_shared(std::make_shared<Shared>(std::move(access), firstReadLimit)) {
    m_shared->store = this;
    m_worker = std::thread([shared = m_shared] { shared->run(); });
}

KeyringSecretStore::~KeyringSecretStore() {
    {
        const std::lock_guard lock(m_shared->announcing);
        m_shared->store = nullptr;
    }
    std::unique_lock lock(m_shared->mutex);
    m_shared->stopping = true;
    m_shared->changed.notify_all();
    lock.unlock();
    m_shared->access->cancel();
    lock.lock();
    if (m_shared->changed.wait_for(lock, shutdownLimit, [this] { return m_shared->finished; }))
        m_worker.join();
    else
        m_worker.detach(); // it keeps what it uses alive, and ends with the process
}

std::optional<QByteArray> KeyringSecretStore::read(const QString& account) {
    Shared& shared = *m_shared;
    std::unique_lock lock(shared.mutex);
    if (const auto written = shared.written.find(account); written != shared.written.end())
        return written->second;
    if (shared.loadState == Shared::Load::Pending && !shared.waited) {
        shared.waited = true;
        shared.changed.wait_for(lock, shared.firstReadLimit,
                                [&shared] { return shared.loadState != Shared::Load::Pending; });
    }
    if (shared.loadState == Shared::Load::Pending) {
        shared.answeredWithoutItems = true;
        return std::nullopt;
    }
    if (const auto loaded = shared.loaded.constFind(account); loaded != shared.loaded.constEnd())
        return *loaded;
    return std::nullopt;
}

void KeyringSecretStore::write(const QString& account, const QByteArray& value) {
    const std::lock_guard lock(m_shared->mutex);
    m_shared->written[account] = value;
    m_shared->queue.push_back({account, value});
    m_shared->changed.notify_all();
}

void KeyringSecretStore::erase(const QString& account) {
    const std::lock_guard lock(m_shared->mutex);
    m_shared->written[account] = std::nullopt;
    m_shared->queue.push_back({account, std::nullopt});
    m_shared->changed.notify_all();
}

bool KeyringSecretStore::flush(std::chrono::milliseconds limit) {
    Shared& shared = *m_shared;
    std::unique_lock lock(shared.mutex);
    return shared.changed.wait_for(lock, limit,
                                   [&shared] { return shared.queue.empty() && !shared.busy; });
}

void KeyringSecretStore::Shared::run() {
    load();
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return stopping || !queue.empty(); });
        if (stopping)
            break;
        const Operation operation = queue.front();
        queue.pop_front();
        busy = true;
        lock.unlock();
        carryOut(operation);
        lock.lock();
        busy = false;
        changed.notify_all();
    }
    finished = true;
    changed.notify_all();
}

void KeyringSecretStore::Shared::load() {
    KeyringAccess::Items items = access->loadAll();
    bool late = false;
    {
        const std::lock_guard lock(mutex);
        loadState = items.ok ? Load::Done : Load::Failed;
        loaded = std::move(items.values);
        late = answeredWithoutItems && !loaded.isEmpty();
    }
    changed.notify_all();
    if (!items.ok)
        announce(&items.error);
    if (late)
        announce(nullptr);
}

void KeyringSecretStore::Shared::carryOut(const Operation& operation) {
    QString error;
    const bool ok = operation.value ? access->store(operation.account, *operation.value, &error)
                                    : access->clear(operation.account, &error);
    if (!ok)
        announce(&error);
}

// A failure when `failure` is given, else the late arrival of the items.
void KeyringSecretStore::Shared::announce(const QString* failure) {
    const std::lock_guard lock(announcing);
    if (!store)
        return;
    if (failure)
        Q_EMIT store->failed(*failure);
    else
        Q_EMIT store->itemsArrived();
}
