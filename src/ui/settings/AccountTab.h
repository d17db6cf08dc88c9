#pragma once

#include "ui/settings/SettingsPage.h"

class CloudAccount;
class CloudSync;
class L10n;

// The Account tab: the cloud sign-in and the settings-sync switch.
class AccountTab : public SettingsPage {
    Q_OBJECT
public:
    AccountTab(CloudAccount& account, CloudSync& sync, L10n& l10n, QWidget* parent = nullptr);

private:
    void relabel();

    CloudAccount& m_account;
    CloudSync& m_sync;
    L10n& m_l10n;
};
