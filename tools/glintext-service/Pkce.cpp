#include "Pkce.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace Pkce {

namespace {
QString urlBase64(const QByteArray& bytes) {
    return QString::fromLatin1(
        bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}
} // namespace

QString randomUrlBase64(int bytes) {
    QByteArray buffer(bytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(buffer.begin(), buffer.end());
    return urlBase64(buffer);
}

QString challenge(const QString& verifier) {
    return urlBase64(QCryptographicHash::hash(verifier.toUtf8(), QCryptographicHash::Sha256));
}

bool isValidVerifier(const QString& verifier) {
    static const QRegularExpression pattern("^[A-Za-z0-9._~-]{43,128}$");
    return pattern.match(verifier).hasMatch();
}

bool isValidChallenge(const QString& challenge) {
    static const QRegularExpression pattern("^[A-Za-z0-9_-]{43}$");
    return pattern.match(challenge).hasMatch();
}

QString storageHash(const QString& secret) {
    return QString::fromLatin1(
        QCryptographicHash::hash(secret.toUtf8(), QCryptographicHash::Sha256).toHex());
}

} // namespace Pkce
