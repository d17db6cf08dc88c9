#include "platform/xdg/XdgAutostartLoginItem.h"

#include "base/AppPaths.h"
#include "base/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

// Desktop Entry "Exec" quoting: double quotes around the argument, with `"`, `` ` ``,
// `$` and `\` escaped by a backslash.
QString quoteExecArgument(const QString& argument) {
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return u'"' + quoted + u'"';
}

QString currentExecutable() {
    if (QCoreApplication::instance()) {
        const QString path = QCoreApplication::applicationFilePath();
        if (!path.isEmpty())
            return path;
    }
    return QStringLiteral("glintext");
}

} // namespace

QString XdgAutostartLoginItem::desktopFilePath() {
    return AppPaths::autostartDir() + "/glintext.desktop";
}

QByteArray XdgAutostartLoginItem::desktopEntry(const QString& executable) {
    QString entry;
    entry += "[Desktop Entry]\n";
    entry += "Type=Application\n";
    entry += "Name=Glintext\n";
    entry += "Comment=Copy text from anywhere on the screen\n";
    // Tesseract's OpenMP runtime reads the limit when it loads, before main() can set it.
    entry += "Exec=env OMP_THREAD_LIMIT=1 " + quoteExecArgument(executable) + "\n";
    entry += "Icon=glintext\n";
    entry += "Terminal=false\n";
    entry += "X-GNOME-Autostart-enabled=true\n";
    return entry.toUtf8();
}

bool XdgAutostartLoginItem::registerApp(QString* error) {
    const QString dir = AppPaths::autostartDir();
    if (!QDir().mkpath(dir)) {
        if (error)
            *error = QStringLiteral("Could not create the folder %1").arg(dir);
        return false;
    }
    return AtomicFile::write(
        desktopFilePath(), desktopEntry(currentExecutable()),
        AtomicFile::ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther, error);
}

bool XdgAutostartLoginItem::unregisterApp(QString* error) {
    QFile file(desktopFilePath());
    if (!file.exists())
        return true;
    if (!file.remove()) {
        if (error)
            *error =
                QStringLiteral("Could not remove %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}
