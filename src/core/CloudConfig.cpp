#include "core/CloudConfig.h"

#include "BuildConfig.h"

#include <QHostAddress>
#include <QtGlobal>

namespace CloudConfig {

bool isAcceptable(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    if (scheme != QLatin1String("http"))
        return false;
    // Credentials never travel in the clear beyond this machine.
    const QString host = url.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QUrl resolve(const QString& override, const QString& builtIn, QString* warning) {
    if (!override.trimmed().isEmpty()) {
        const QUrl url(override.trimmed(), QUrl::StrictMode);
        if (isAcceptable(url))
            return url;
        if (warning)
            *warning = QStringLiteral("GLINTEXT_SERVICE_URL %1 is not an https URL (or http on "
                                      "loopback); using %2")
                           .arg(override, builtIn);
    }
    return QUrl(builtIn, QUrl::StrictMode);
}

QUrl baseURL() {
    static const QUrl url = [] {
        const QString builtIn = QString::fromUtf8(BuildConfig::serviceUrl);
        QString warning;
        const QUrl resolved =
            resolve(qEnvironmentVariable("GLINTEXT_SERVICE_URL"), builtIn, &warning);
        if (!warning.isEmpty())
            qWarning("CloudConfig: %s", qUtf8Printable(warning));
        if (!isAcceptable(resolved))
            qFatal("CloudConfig: the built-in service URL \"%s\" is not usable",
                   BuildConfig::serviceUrl);
        return resolved;
    }();
    return url;
}

} // namespace CloudConfig
