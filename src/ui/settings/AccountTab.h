#pragma once

#include "ui/settings/SettingsPage.h"

class CloudAccount;
class CloudSync;
class GTPillButton;
class L10n;
class SettingsRow;
class ToggleSwitch;

// The Account tab: the cloud sign-in and the settings-sync switch. It follows the account
// and the sync engine as they change, whoever changes them (the browser's callback, a
// rejected token, another window).
class AccountTab : public SettingsPage {
    Q_OBJECT
public:
    AccountTab(CloudAccount& account, CloudSync& sync, L10n& l10n, QWidget* parent = nullptr);

    SettingsRow* accountRow() const { return m_accountRow; }
    GTPillButton* signInButton() const { return m_signIn; }
    GTPillButton* signOutButton() const { return m_signOut; }
    ToggleSwitch* syncSwitch() const { return m_syncSwitch; }

private:
    void relabel();

    CloudAccount& m_account;
    CloudSync& m_sync;
    L10n& m_l10n;
    GTPillButton* m_signIn = nullptr;
    GTPillButton* m_signOut = nullptr;
    SettingsRow* m_accountRow = nullptr;
    ToggleSwitch* m_syncSwitch = nullptr;
    SettingsRow* m_syncRow = nullptr;
};
