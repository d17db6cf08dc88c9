#pragma once

#include <QString>

// The random values and hashes of the browser sign-in (RFC 7636, S256).
namespace Pkce {
// n random bytes from the system's secure generator, base64url without padding.
QString randomUrlBase64(int bytes);
// BASE64URL(SHA-256(verifier)).
QString challenge(const QString& verifier);
// A verifier as RFC 7636 allows it: 43 to 128 characters of [A-Za-z0-9-._~].
bool isValidVerifier(const QString& verifier);
// A challenge as S256 produces it: 43 characters of base64url.
bool isValidChallenge(const QString& challenge);
// What the database keeps instead of a token or a code: hex SHA-256.
QString storageHash(const QString& secret);
} // namespace Pkce
