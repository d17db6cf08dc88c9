#include "core/CloudConfig.h"

#include "BuildConfig.h"

#include <QHostAddress>
#include <QtGlobal>

namespace CloudConfig {

namespace {

bool isLoopbackHost(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

bool refuse(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

} // namespace

bool isAcceptable(const QUrl& url, QString* error) {
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return refuse(error, QStringLiteral("it is not an https address with a host name"));
    if (!url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        return refuse(error, QStringLiteral("it must not carry a user name, query or fragment"));
    // Credentials never travel in the clear beyond this machine.
    if (scheme == QLatin1String("http") && !isLoopbackHost(url.host()))
        return refuse(error, QStringLiteral("plain http is accepted only for this computer's "
                                            "loopback address (127.0.0.1, ::1, localhost); "
                                            "use https"));
    return true;
}

QUrl resolve(const QString& override, const QString& builtIn, QString* error) {
    const bool overridden = !override.trimmed().isEmpty();
    const QString text = overridden ? override.trimmed() : builtIn;
    const QUrl url(text, QUrl::StrictMode);
    QString why;
    if (isAcceptable(url, &why))
        return url;
    if (error) {
        *error = overridden ? QStringLiteral("%1=\"%2\" cannot be used: %3")
                                  .arg(QLatin1String(overrideVariable), override, why)
                            : QStringLiteral("the service address this build was configured "
                                             "with (\"%1\") cannot be used: %2")
                                  .arg(builtIn, why);
    }
    return {};
}

QString check() {
    QString error;
    resolve(qEnvironmentVariable(overrideVariable), QString::fromUtf8(BuildConfig::serviceUrl),
            &error);
    return error;
}

QUrl baseURL() {
    static const QUrl url = [] {
        QString error;
        const QUrl resolved = resolve(qEnvironmentVariable(overrideVariable),
                                      QString::fromUtf8(BuildConfig::serviceUrl), &error);
        if (resolved.isEmpty())
            qFatal("CloudConfig: %s", qUtf8Printable(error));
        return resolved;
    }();
    return url;
}

QUrl appendingPath(const QUrl& url, const QString& component) {
    QString path = url.path(QUrl::FullyEncoded);
    if (!path.endsWith(u'/'))
        path += u'/';
    path += QString::fromLatin1(QUrl::toPercentEncoding(component, "/"));
    QUrl result(url);
    result.setPath(path, QUrl::StrictMode);
    return result;
}

} // namespace CloudConfig
