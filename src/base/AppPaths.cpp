#include "base/AppPaths.h"

#include <QDir>

#include <sys/stat.h>

namespace {

QString xdgDir(const char* variable, const char* fallbackBelowHome) {
    const QString value = qEnvironmentVariable(variable);
    // The XDG spec says relative values are invalid and must be ignored.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + "/" + fallbackBelowHome);
}

void makePrivateDir(const QString& path) {
    QDir().mkpath(path);
    ::chmod(QFile::encodeName(path).constData(), 0700);
}

} // namespace

namespace AppPaths {

QString dataDir() {
    const QString dir = xdgDir("XDG_DATA_HOME", ".local/share") + "/Glintext";
    makePrivateDir(dir);
    return dir;
}

QString configDir() {
    const QString dir = xdgDir("XDG_CONFIG_HOME", ".config") + "/Glintext";
    makePrivateDir(dir);
    return dir;
}

QString autostartDir() {
    return xdgDir("XDG_CONFIG_HOME", ".config") + "/autostart";
}

QString dataFile(const QString& name) {
    return dataDir() + "/" + name;
}

} // namespace AppPaths
