#pragma once

#include "platform/secret/KeyringAccess.h"

#include <QByteArray>

#include <memory>

// The Secret Service (GNOME Keyring, KWallet, KeePassXC ...) through libsecret: one schema
// named after the application, one string attribute "account", values as text/plain bytes,
// stored in the default collection. Calls block; use them from one thread at a time.
class LibsecretKeyringAccess : public KeyringAccess {
public:
    // `schemaName`: the application's reverse-DNS name.
    explicit LibsecretKeyringAccess(const QString& schemaName);
    ~LibsecretKeyringAccess() override;

    Items loadAll() override;
    bool store(const QString& account, const QByteArray& value, QString* error) override;
    bool clear(const QString& account, QString* error) override;
    void cancel() override;

private:
    struct Glib;
    std::unique_ptr<Glib> m_glib;
};
