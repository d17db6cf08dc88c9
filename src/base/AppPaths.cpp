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

} // namespace

namespace AppPaths {

void makePrivateDir(const QString& path) {
    QDir().mkpath(path);
    ::chmod(QFile::encodeName(path).constData(), 0700);
}

QString dataDirPath() {
    return xdgDir("XDG_DATA_HOME", ".local/share") + "/Glintext";
}

QString configDirPath() {
    return xdgDir("XDG_CONFIG_HOME", ".config") + "/Glintext";
}

QString dataDir() {
    const QString dir = dataDirPath();
    makePrivateDir(dir);
    return dir;
}

QString configDir() {
    const QString dir = configDirPath();
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
