#pragma once

#include <QObject>
#include <QString>

#include <optional>

class Defaults;
class LoginItem;

// The single store of user preferences. Every property is written through to the defaults
// domain under its own name on every set, even when the value does not change.
// willChange() fires before each change; each property also has its own changed signal.
class AppSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool onboardingCompleted READ onboardingCompleted WRITE setOnboardingCompleted NOTIFY
                   onboardingCompletedChanged)
    Q_PROPERTY(
        bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
    Q_PROPERTY(bool cleanupEnabled READ cleanupEnabled WRITE setCleanupEnabled NOTIFY
                   cleanupEnabledChanged)
    Q_PROPERTY(bool detectQR READ detectQR WRITE setDetectQR NOTIFY detectQRChanged)
    Q_PROPERTY(bool showHUD READ showHUD WRITE setShowHUD NOTIFY showHUDChanged)
    Q_PROPERTY(bool soundEnabled READ soundEnabled WRITE setSoundEnabled NOTIFY soundEnabledChanged)
    Q_PROPERTY(bool keepHistory READ keepHistory WRITE setKeepHistory NOTIFY keepHistoryChanged)
    Q_PROPERTY(
        qint64 historyLimit READ historyLimit WRITE setHistoryLimit NOTIFY historyLimitChanged)
    Q_PROPERTY(bool crashReportingEnabled READ crashReportingEnabled WRITE setCrashReportingEnabled
                   NOTIFY crashReportingEnabledChanged)
    Q_PROPERTY(bool improveDataSharing READ improveDataSharing WRITE setImproveDataSharing NOTIFY
                   improveDataSharingChanged)

public:
    // Created on first use on Defaults::standard() and the system login item.
    static AppSettings& shared();

    AppSettings(Defaults& defaults, LoginItem& loginItem, QObject* parent = nullptr);

    Defaults& defaults() const { return m_defaults; }

    bool onboardingCompleted() const { return m_onboardingCompleted; }
    bool launchAtLogin() const { return m_launchAtLogin; }
    std::optional<QString> languageCode() const { return m_languageCode; }
    bool cleanupEnabled() const { return m_cleanupEnabled; }
    bool detectQR() const { return m_detectQR; }
    bool showHUD() const { return m_showHUD; }
    bool soundEnabled() const { return m_soundEnabled; }
    bool keepHistory() const { return m_keepHistory; }
    qint64 historyLimit() const { return m_historyLimit; }
    bool crashReportingEnabled() const { return m_crashReportingEnabled; }
    bool improveDataSharing() const { return m_improveDataSharing; }

    void setOnboardingCompleted(bool value);
    void setLaunchAtLogin(bool value);
    void setLanguageCode(const std::optional<QString>& value);
    void setCleanupEnabled(bool value);
    void setDetectQR(bool value);
    void setShowHUD(bool value);
    void setSoundEnabled(bool value);
    void setKeepHistory(bool value);
    void setHistoryLimit(qint64 value);
    void setCrashReportingEnabled(bool value);
    void setImproveDataSharing(bool value);

    static constexpr qint64 defaultHistoryLimit = 100;

Q_SIGNALS:
    void willChange();
    void onboardingCompletedChanged(bool value);
    void launchAtLoginChanged(bool value);
    void languageCodeChanged();
    void cleanupEnabledChanged(bool value);
    void detectQRChanged(bool value);
    void showHUDChanged(bool value);
    void soundEnabledChanged(bool value);
    void keepHistoryChanged(bool value);
    void historyLimitChanged(qint64 value);
    void crashReportingEnabledChanged(bool value);
    void improveDataSharingChanged(bool value);

private:
    void setBool(bool& member, const char* key, bool value, void (AppSettings::*changed)(bool));
    void applyLaunchAtLogin();

    Defaults& m_defaults;
    LoginItem& m_loginItem;
    bool m_onboardingCompleted = false;
    bool m_launchAtLogin = true;
    std::optional<QString> m_languageCode;
    bool m_cleanupEnabled = true;
    bool m_detectQR = true;
    bool m_showHUD = true;
    bool m_soundEnabled = true;
    bool m_keepHistory = true;
    qint64 m_historyLimit = defaultHistoryLimit;
    bool m_crashReportingEnabled = true;
    bool m_improveDataSharing = true;
};
