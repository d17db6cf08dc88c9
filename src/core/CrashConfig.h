#pragma once

#include <QString>
#include <QUrl>

class CloudClient;
class Defaults;

// The crash reports' settings, and the installation identifier that every reporter sends.
namespace CrashConfig {

inline constexpr const char* installIDKey = "crashInstallID";
inline constexpr const char* reportingEnabledKey = "crashReportingEnabled";

// The stored identifier; created (an uppercase, hyphenated random UUID) and stored on first
// use, never changed afterwards. GUI thread, as the defaults are.
QString installID(Defaults& defaults);
// The stored Boolean; true when absent or of another type.
bool reportingEnabled(const Defaults& defaults);
// "/api/crash" on the service's host; invalid when it cannot be built.
QUrl endpoint(const CloudClient& client);

} // namespace CrashConfig
