#include "platform/PlatformLoader.h"

#include "platform/OnDeviceRecognition.h"
#include "platform/crash/SignalCrashCatcher.h"
#include "platform/journal/JournalProcessLog.h"
#include "platform/null/NullPlatform.h"
#include "platform/secret/KeyringSecretStore.h"
#include "platform/secret/LibsecretKeyringAccess.h"
#include "platform/wayland/WaylandPlatform.h"
#include "platform/x11/X11Platform.h"

#include "BuildConfig.h"

#include <QGuiApplication>

namespace PlatformLoader {

QStringList backendNames() {
    return {QStringLiteral("x11"), QStringLiteral("wayland"), QStringLiteral("null")};
}

QString choose(const QString& overrideName, const QString& toolkitPlatform, QString* warning) {
    if (!overrideName.isEmpty()) {
        if (backendNames().contains(overrideName))
            return overrideName;
        if (warning)
            *warning = QStringLiteral("%1=%2 names no backend (%3); choosing by the session")
                           .arg(QLatin1String(overrideVariable), overrideName,
                                backendNames().join(QStringLiteral(", ")));
    }
    // A new desktop is one line here and a folder beside x11/.
    if (toolkitPlatform == QLatin1String("xcb"))
        return QStringLiteral("x11");
    if (toolkitPlatform.startsWith(QLatin1String("wayland")))
        return QStringLiteral("wayland");
    return QStringLiteral("null");
}

QString toolkitPlatformFor(const QString& overrideName, const QString& qpaPlatform,
                           const QString& sessionType, bool waylandDisplay) {
    if (!qpaPlatform.isEmpty())
        return {};
    if (overrideName == QLatin1String("x11"))
        return QStringLiteral("xcb");
    if (overrideName == QLatin1String("wayland"))
        return QStringLiteral("wayland");
    if (sessionType == QLatin1String("wayland") && waylandDisplay)
        return QStringLiteral("wayland;xcb");
    return {};
}

std::unique_ptr<Platform> create(const QString& name) {
    if (name == QLatin1String("x11"))
        return std::make_unique<X11Platform>();
    if (name == QLatin1String("wayland"))
        return std::make_unique<WaylandPlatform>();
    if (name == QLatin1String("null"))
        return std::make_unique<NullPlatform>();
    return nullptr;
}

std::unique_ptr<Platform> load() {
    QString warning;
    const QString name =
        choose(qEnvironmentVariable(overrideVariable), QGuiApplication::platformName(), &warning);
    if (!warning.isEmpty())
        qWarning("Glintext: %s", qUtf8Printable(warning));
    return create(name);
}

std::unique_ptr<Recognition> loadRecognition() {
    return std::make_unique<OnDeviceRecognition>();
}

std::unique_ptr<SecretStore> loadSecretStore() {
    return std::make_unique<KeyringSecretStore>(std::make_unique<LibsecretKeyringAccess>(
        QString::fromLatin1(BuildConfig::bundleIdentifier)));
}

std::unique_ptr<CrashCatcher> loadCrashCatcher(const QString& folder) {
    return std::make_unique<SignalCrashCatcher>(folder);
}

std::unique_ptr<ProcessLog> loadProcessLog() {
    return std::make_unique<JournalProcessLog>();
}

} // namespace PlatformLoader
