#include "platform/xdg/XdgDesktopState.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace {

bool kdeAnimationsOff() {
    const QString path =
        QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"));
    if (path.isEmpty())
        return false;
    QSettings kde(path, QSettings::IniFormat);
    bool ok = false;
    const double factor = kde.value(QStringLiteral("KDE/AnimationDurationFactor")).toDouble(&ok);
    return ok && factor <= 0.0;
}

bool gnomeAnimationsOff() {
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (gsettings.isEmpty())
        return false;
    QProcess process;
    process.start(gsettings, {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                              QStringLiteral("enable-animations")});
    if (!process.waitForFinished(500)) {
        process.kill();
        process.waitForFinished(100);
        return false;
    }
    return process.exitCode() == 0 &&
           process.readAllStandardOutput().trimmed() == QByteArrayLiteral("false");
}

} // namespace

bool XdgDesktopState::reducesMotion() {
    // KDE keeps its switch as a zero animation speed in a file it may change at any time;
    // GNOME-family desktops keep theirs in GSettings, read once per run.
    if (kdeAnimationsOff())
        return true;
    static const bool gnomeOff = gnomeAnimationsOff();
    return gnomeOff;
}

Qt::KeyboardModifiers XdgDesktopState::keyboardModifiers() {
    return QGuiApplication::queryKeyboardModifiers();
}

Qt::MouseButtons XdgDesktopState::mouseButtons() {
    return QGuiApplication::mouseButtons();
}

std::optional<QColor> XdgDesktopState::panelForeground() {
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    if (desktops.contains(QLatin1String("GNOME"), Qt::CaseInsensitive) &&
        !desktops.contains(QLatin1String("GNOME-Classic"), Qt::CaseInsensitive))
        return QColor(Qt::white);
    return std::nullopt;
}
