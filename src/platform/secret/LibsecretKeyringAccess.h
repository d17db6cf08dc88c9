#pragma once

#include "platform/secret/KeyringAccess.h"

#include <QByteArray>

#include <memory>

// The Secret Service (GNOME Keyring, KWallet, KeePassXC ...) through libsecret: one schema
// named after the application, one string attribute "account", values as text/plain bytes,
// stored in the default collection. Calls block; use them from one thread at a time.
//
// Each call runs libsecret's asynchronous form on a main context of this object's own, so
// that a cancelled call can be given up: a cancelled unlock prompt is dismissed, and the
// keyring does not always confirm that, which would keep a synchronous call waiting for ever.
class LibsecretKeyringAccess : public KeyringAccess {
public:
    // How long a call still waits for its answer once cancelled.
    static constexpr int afterCancelMs = 500;

    // `schemaName`: the application's reverse-DNS name.
    explicit LibsecretKeyringAccess(const QString& schemaName);
    ~LibsecretKeyringAccess() override;

    Items loadAll() override;
    bool store(const QString& account, const QByteArray& value, QString* error) override;
    bool clear(const QString& account, QString* error) override;
    void cancel() override;

private:
    struct Handles; // glib's objects, which this header does not name

    std::unique_ptr<Handles> m_glib;
};
