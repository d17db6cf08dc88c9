#pragma once

#include <QString>
#include <QUrl>

// Where the service lives: the build's service URL, or GLINTEXT_SERVICE_URL for one run.
namespace CloudConfig {

// Resolved once, on first use. A bad override is ignored with a warning; a bad built-in URL
// is a fatal configuration error.
QUrl baseURL();

// Resolution rules, exposed for tests: plain http only for loopback hosts.
QUrl resolve(const QString& override, const QString& builtIn, QString* warning = nullptr);
bool isAcceptable(const QUrl& url);

} // namespace CloudConfig
