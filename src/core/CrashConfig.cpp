#include "core/CrashConfig.h"

#include "core/CloudClient.h"
#include "core/Defaults.h"

#include <QUuid>

namespace CrashConfig {

QString installID(Defaults& defaults) {
    const QString key = QString::fromLatin1(installIDKey);
    if (const std::optional<QString> stored = defaults.stringValue(key))
        return *stored;
    const QString created = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    defaults.setString(key, created);
    return created;
}

bool reportingEnabled(const Defaults& defaults) {
    return defaults.boolValue(QString::fromLatin1(reportingEnabledKey)).value_or(true);
}

QUrl endpoint(const CloudClient& client) {
    return client.absoluteUrl(QStringLiteral("/api/crash"));
}

} // namespace CrashConfig
