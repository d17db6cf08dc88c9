#include "platform/secret/KeyringSecretStore.h"

#include "platform/secret/KeyringAccess.h"

KeyringSecretStore::KeyringSecretStore(std::unique_ptr<KeyringAccess> access,
                                       std::chrono::milliseconds firstReadLimit, QObject* parent)
    : SecretStore(parent), m_access(std::move(access)), m_firstReadLimit(firstReadLimit),
      m_worker([this] { run(); }) {}

KeyringSecretStore::~KeyringSecretStore() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_access->cancel();
    m_worker.join();
}

std::optional<QByteArray> KeyringSecretStore::read(const QString& account) {
    std::unique_lock lock(m_mutex);
    if (const auto written = m_written.find(account); written != m_written.end())
        return written->second;
    if (m_load == Load::Pending && !m_waited) {
        m_waited = true;
        m_changed.wait_for(lock, m_firstReadLimit, [this] { return m_load != Load::Pending; });
    }
    if (m_load == Load::Pending) {
        m_answeredWithoutItems = true;
        return std::nullopt;
    }
    if (const auto loaded = m_loaded.constFind(account); loaded != m_loaded.constEnd())
        return *loaded;
    return std::nullopt;
}

void KeyringSecretStore::write(const QString& account, const QByteArray& value) {
    enqueue(account, value);
}

void KeyringSecretStore::erase(const QString& account) {
    enqueue(account, std::nullopt);
}

void KeyringSecretStore::enqueue(const QString& account, std::optional<QByteArray> value) {
    {
        const std::lock_guard lock(m_mutex);
        m_written[account] = value;
        m_queue.push_back({account, std::move(value)});
    }
    m_changed.notify_all();
}

bool KeyringSecretStore::flush(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [this] { return m_queue.empty() && !m_busy; });
}

void KeyringSecretStore::run() {
    load();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const Operation operation = m_queue.front();
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        carryOut(operation);
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

void KeyringSecretStore::load() {
    KeyringAccess::Items items = m_access->loadAll();
    bool late = false;
    {
        const std::lock_guard lock(m_mutex);
        m_load = items.ok ? Load::Done : Load::Failed;
        m_loaded = std::move(items.values);
        late = m_answeredWithoutItems && !m_loaded.isEmpty();
    }
    m_changed.notify_all();
    if (!items.ok)
        Q_EMIT failed(items.error);
    if (late)
        Q_EMIT itemsArrived();
}

void KeyringSecretStore::carryOut(const Operation& operation) {
    QString error;
    const bool ok = operation.value ? m_access->store(operation.account, *operation.value, &error)
                                    : m_access->clear(operation.account, &error);
    if (!ok)
        Q_EMIT failed(error);
}
