#include "core/AppSettings.h"

#include "core/Defaults.h"
#include "core/ImproveReporter.h"
#include "core/OCRHistoryStore.h"
#include "platform/LoginItem.h"

#include <QDebug>

AppSettings& AppSettings::shared() {
    static AppSettings* instance = new AppSettings(Defaults::standard(), LoginItem::system());
    return *instance;
}

AppSettings::AppSettings(Defaults& defaults, LoginItem& loginItem, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_loginItem(loginItem) {
    m_onboardingCompleted = defaults.boolForKey("onboardingCompleted");
    const std::optional<bool> storedLaunch = defaults.boolValue("launchAtLogin");
    m_launchAtLogin = storedLaunch.value_or(true);
    m_cleanupEnabled = defaults.boolValue("cleanupEnabled").value_or(true);
    m_detectQR = defaults.boolValue("detectQR").value_or(true);
    m_showHUD = defaults.boolValue("showHUD").value_or(true);
    m_soundEnabled = defaults.boolValue("soundEnabled").value_or(true);
    m_keepHistory = defaults.boolValue("keepHistory").value_or(true);
    m_historyLimit = defaults.integerValue("historyLimit").value_or(defaultHistoryLimit);
    m_crashReportingEnabled = defaults.boolValue("crashReportingEnabled").value_or(true);
    m_improveDataSharing = defaults.boolValue("improveDataSharing").value_or(true);
    m_languageCode = defaults.stringValue("languageCode");

    // First start (or the key was removed): start at login by default.
    if (!defaults.contains("launchAtLogin")) {
        defaults.setBool("launchAtLogin", true);
        applyLaunchAtLogin();
    }
}

void AppSettings::setBool(bool& member, const char* key, bool value,
                          void (AppSettings::*changed)(bool)) {
    Q_EMIT willChange();
    member = value;
    Q_EMIT(this->*changed)(value);
    m_defaults.setBool(QString::fromLatin1(key), value);
}

void AppSettings::setOnboardingCompleted(bool value) {
    setBool(m_onboardingCompleted, "onboardingCompleted", value,
            &AppSettings::onboardingCompletedChanged);
}

void AppSettings::setLaunchAtLogin(bool value) {
    setBool(m_launchAtLogin, "launchAtLogin", value, &AppSettings::launchAtLoginChanged);
    applyLaunchAtLogin();
}

void AppSettings::setLanguageCode(const std::optional<QString>& value) {
    Q_EMIT willChange();
    m_languageCode = value;
    Q_EMIT languageCodeChanged();
    if (value)
        m_defaults.setString("languageCode", *value);
    else
        m_defaults.remove("languageCode");
}

void AppSettings::setCleanupEnabled(bool value) {
    setBool(m_cleanupEnabled, "cleanupEnabled", value, &AppSettings::cleanupEnabledChanged);
}

void AppSettings::setDetectQR(bool value) {
    setBool(m_detectQR, "detectQR", value, &AppSettings::detectQRChanged);
}

void AppSettings::setShowHUD(bool value) {
    setBool(m_showHUD, "showHUD", value, &AppSettings::showHUDChanged);
}

void AppSettings::setSoundEnabled(bool value) {
    setBool(m_soundEnabled, "soundEnabled", value, &AppSettings::soundEnabledChanged);
}

void AppSettings::setKeepHistory(bool value) {
    setBool(m_keepHistory, "keepHistory", value, &AppSettings::keepHistoryChanged);
}

void AppSettings::setHistoryLimit(qint64 value) {
    Q_EMIT willChange();
    m_historyLimit = value;
    Q_EMIT historyLimitChanged(value);
    m_defaults.setInteger("historyLimit", value);
    OCRHistoryStore::shared().prune();
}

void AppSettings::setCrashReportingEnabled(bool value) {
    setBool(m_crashReportingEnabled, "crashReportingEnabled", value,
            &AppSettings::crashReportingEnabledChanged);
}

void AppSettings::setImproveDataSharing(bool value) {
    setBool(m_improveDataSharing, "improveDataSharing", value,
            &AppSettings::improveDataSharingChanged);
    if (!value)
        ImproveReporter::shared().clearQueue();
}

void AppSettings::applyLaunchAtLogin() {
    QString error;
    const bool ok =
        m_launchAtLogin ? m_loginItem.registerApp(&error) : m_loginItem.unregisterApp(&error);
    if (!ok)
        qWarning().noquote() << "Glintext: launch-at-login update failed: " + error;
}
