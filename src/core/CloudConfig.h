#pragma once

#include <QString>
#include <QUrl>

// Where the service lives: the build's service URL, or GLINTEXT_SERVICE_URL for one run. It
// must be https, except plain http to this machine's loopback address (the reference service
// a developer runs), so that tokens never cross a network in the clear.
namespace CloudConfig {

inline constexpr const char* overrideVariable = "GLINTEXT_SERVICE_URL";

// Why this run's service address cannot be used, in words for the person who set it; empty
// when it can. Start-up stops on a non-empty answer, before anything talks to the service.
QString check();

// Resolved once, on first use. An unusable address here is a fatal configuration error
// (check() is what catches it at start-up).
QUrl baseURL();

// `override` when set, else `builtIn`; nothing when the chosen one is unusable, and then
// `error` says why. Exposed for tests.
QUrl resolve(const QString& override, const QString& builtIn, QString* error = nullptr);
// https with a host, or http to a loopback host; no user name, query or fragment.
bool isAcceptable(const QUrl& url, QString* error = nullptr);

// `url` with `component` appended to its path: "app/token" adds two segments, and a slash is
// put between the old path and the component when the path does not end in one.
QUrl appendingPath(const QUrl& url, const QString& component);

} // namespace CloudConfig
