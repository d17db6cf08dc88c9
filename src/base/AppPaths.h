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
// The same two folders, not created (for readers that must leave no trace).
QString dataDirPath();
QString configDirPath();
// Creates `path` with its parents and makes it readable by the owner only.
void makePrivateDir(const QString& path);
// ~/.config/autostart (not created).
QString autostartDir();
// dataDir() + "/" + name.
QString dataFile(const QString& name);
} // namespace AppPaths
