#pragma once

#include <QString>

// What the reports say about this copy of the application and the machine it runs on.
namespace AppInfo {
// The version ("0.1.0"); never empty.
QString version();
// The build number; empty when the build set none.
QString build();
// The operating system's human-readable name and version ("Debian GNU/Linux 12 (bookworm)").
QString osVersion();
// The processor architecture this process runs on ("x86_64", "arm64").
QString architecture();
} // namespace AppInfo
