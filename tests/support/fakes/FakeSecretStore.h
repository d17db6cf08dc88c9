#pragma once

#include "platform/SecretStore.h"

#include <QHash>

// A keyring in memory that answers at once. GUI thread.
class FakeSecretStore : public SecretStore {
public:
    std::optional<QByteArray> read(const QString& account) override {
        if (!items.contains(account))
            return std::nullopt;
        return items.value(account);
    }
    void write(const QString& account, const QByteArray& value) override {
        items.insert(account, value);
    }
    void erase(const QString& account) override { items.remove(account); }
    bool flush(std::chrono::milliseconds) override { return true; }

    QHash<QString, QByteArray> items;
};
