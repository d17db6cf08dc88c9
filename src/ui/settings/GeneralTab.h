#pragma once

#include "ui/settings/SettingsPage.h"

class AppSettings;
class GTDropdown;
class KeyChips;
class L10n;
class SettingsRow;

// The General tab: the capture shortcut, the interface language and the login item.
class GeneralTab : public SettingsPage {
    Q_OBJECT
public:
    GeneralTab(AppSettings& settings, L10n& l10n, QWidget* parent = nullptr);

    GTDropdown* languagePicker() const { return m_language; }

private:
    void relabel();
    void showLanguage();

    AppSettings& m_settings;
    L10n& m_l10n;
    GTDropdown* m_language;
    KeyChips* m_keys;
    SettingsRow* m_hotkeyRow;
    SettingsRow* m_languageRow;
    SettingsRow* m_loginRow;
};
