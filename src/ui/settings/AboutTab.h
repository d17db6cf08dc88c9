#pragma once

#include "ui/settings/SettingsPage.h"

class AppSettings;
class L10n;

// The About tab: who made this, which version, and the reporting switches.
class AboutTab : public SettingsPage {
    Q_OBJECT
public:
    AboutTab(AppSettings& settings, L10n& l10n, QWidget* parent = nullptr);

private:
    void relabel();

    AppSettings& m_settings;
    L10n& m_l10n;
};
