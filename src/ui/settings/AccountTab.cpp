#include "ui/settings/AccountTab.h"

#include "support/L10n.h"

AccountTab::AccountTab(CloudAccount& account, CloudSync& sync, L10n& l10n, QWidget* parent)
    : SettingsPage(parent), m_account(account), m_sync(sync), m_l10n(l10n) {
    connect(&m_l10n, &L10n::languageChanged, this, &AccountTab::relabel);
    relabel();
}

void AccountTab::relabel() {
    setFootnote(m_l10n.string(QStringLiteral("acct.footer")));
}
