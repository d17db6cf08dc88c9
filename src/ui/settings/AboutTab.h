#pragma once

#include "ui/settings/SettingsPage.h"

#include <QPointer>

class AppSettings;
class SettingsCard;
class GTPillButton;
class L10n;
class SettingsRow;
class ToggleSwitch;
class UpdaterController;

// The About tab: who made this and which version, the update controls (only in a build with
// an update feed, that is with an updater) and the reporting switches.
class AboutTab : public SettingsPage {
    Q_OBJECT
public:
    // `updater` is null in a build without a feed.
    AboutTab(AppSettings& settings, L10n& l10n, UpdaterController* updater = nullptr,
             QWidget* parent = nullptr);

    // The update controls; null without an updater.
    ToggleSwitch* autoUpdateSwitch() const { return m_autoUpdate; }
    GTPillButton* checkNowButton() const { return m_checkNow; }

protected:
    // The automatic-check flag is read again each time the tab is shown.
    void showEvent(QShowEvent* event) override;

private:
    void addUpdateRows(SettingsCard* card);
    void relabel();

    AppSettings& m_settings;
    L10n& m_l10n;
    QPointer<UpdaterController> m_updater;
    ToggleSwitch* m_autoUpdate = nullptr;
    SettingsRow* m_autoUpdateRow = nullptr;
    GTPillButton* m_checkNow = nullptr;
    SettingsRow* m_checkNowRow = nullptr;
    SettingsRow* m_crashRow = nullptr;
    SettingsRow* m_improveRow = nullptr;
};
