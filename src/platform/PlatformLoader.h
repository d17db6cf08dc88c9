#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class CrashCatcher;
class Platform;
class ProcessLog;
class Recognition;
class SecretStore;

// The one place that picks the implementation of every platform interface.
namespace PlatformLoader {

// Names a backend and overrides the choice, for tests and for trying another backend.
inline constexpr const char* overrideVariable = "GLINTEXT_PLATFORM";

QStringList backendNames();

// The backend for `overrideName` if it names one, else the one that fits the toolkit's
// connection to the display ("xcb": x11), else the null backend. `warning` explains an
// override that names no backend.
QString choose(const QString& overrideName, const QString& toolkitPlatform,
               QString* warning = nullptr);

// The toolkit platform (QT_QPA_PLATFORM) to ask for before the application object exists,
// or nothing to leave the toolkit's own choice (and a choice the user made in
// `qpaPlatform`). In a Wayland session Qt's native wayland plugin, falling back to xcb:
// several Qt 6 releases run GNOME's Wayland session through XWayland on their own, where
// only X clients' windows can be read. An override's backend brings its toolkit platform.
QString toolkitPlatformFor(const QString& overrideName, const QString& qpaPlatform,
                           const QString& sessionType, bool waylandDisplay);

// The backend `name` (one of backendNames()); nothing for an unknown name.
std::unique_ptr<Platform> create(const QString& name);

// The backend of this session, chosen from GLINTEXT_PLATFORM and the running
// QGuiApplication.
std::unique_ptr<Platform> load();

// The on-device recognisers. They belong to no desktop session: built once per process, by
// the tray application and by the command line alike.
std::unique_ptr<Recognition> loadRecognition();

// The keyring store for the application's secrets: the desktop's Secret Service over its
// session bus, whatever the desktop. Start it early: it reads the keyring in the background.
std::unique_ptr<SecretStore> loadSecretStore();

// The catcher of this process's fatal signals, keeping its records in `folder`.
std::unique_ptr<CrashCatcher> loadCrashCatcher(const QString& folder);

// This process's entries in the system log (the systemd journal).
std::unique_ptr<ProcessLog> loadProcessLog();

} // namespace PlatformLoader
