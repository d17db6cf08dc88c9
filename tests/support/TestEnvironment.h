#pragma once

#include <QString>

namespace TestEnvironment {
// Points HOME and the XDG folders at `home` (created as needed).
void useHome(const QString& home);
QString home();
QString configDir(); // $XDG_CONFIG_HOME/Glintext
QString dataDir();   // $XDG_DATA_HOME/Glintext
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
} // namespace TestEnvironment
