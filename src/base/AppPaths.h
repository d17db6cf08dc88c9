#pragma once

#include <QString>

// The app's folders. They are computed from the XDG variables on every call, without
// needing a QCoreApplication, so that tests and the command line see the same paths.
namespace AppPaths {
// ~/.local/share/Glintext (XDG_DATA_HOME respected), created mode 0700 on every call:
// it holds captured text.
QString dataDir();
// ~/.config/Glintext (XDG_CONFIG_HOME respected), created on every call.
QString configDir();
// ~/.config/autostart (not created).
QString autostartDir();
// dataDir() + "/" + name.
QString dataFile(const QString& name);
} // namespace AppPaths
