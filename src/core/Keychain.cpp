#include "core/Keychain.h"

#include "core/DebugLog.h"
#include "platform/SecretStore.h"

#include <QStringDecoder>
#include <QStringEncoder>

Keychain::Keychain(SecretStore& store, QObject* parent) : QObject(parent), m_store(store) {
    connect(&m_store, &SecretStore::itemsArrived, this, &Keychain::itemsArrived);
    connect(&m_store, &SecretStore::failed, this, &Keychain::reportFailure);
}

std::optional<QString> Keychain::get(const QString& account) const {
    const std::optional<QByteArray> bytes = m_store.read(account);
    if (!bytes)
        return std::nullopt;
    // A leading byte-order mark is part of the value, as every other character is.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(*bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

void Keychain::set(const std::optional<QString>& value, const QString& account) {
    if (!value) {
        remove(account);
        return;
    }
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const QByteArray bytes = encoder.encode(*value);
    if (encoder.hasError()) {
        remove(account);
        return;
    }
    m_store.write(account, bytes);
}

void Keychain::remove(const QString& account) {
    m_store.erase(account);
}

bool Keychain::flush(std::chrono::milliseconds limit) {
    return m_store.flush(limit);
}

// One line per run is enough to explain why a sign-in does not survive a restart.
void Keychain::reportFailure(const QString& reason) {
    if (m_failureReported)
        return;
    m_failureReported = true;
    DebugLog::log(QStringLiteral("Keychain: the keyring did not take or give the items (%1); "
                                 "a sign-in lasts until Glintext quits")
                      .arg(reason));
}
