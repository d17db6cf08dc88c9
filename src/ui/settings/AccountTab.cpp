#include "ui/settings/AccountTab.h"

#include "core/CloudAccount.h"
#include "core/CloudSync.h"
#include "support/L10n.h"
#include "ui/GTPillButton.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/ToggleSwitch.h"

#include <QHBoxLayout>

AccountTab::AccountTab(CloudAccount& account, CloudSync& sync, L10n& l10n, QWidget* parent)
    : SettingsPage(parent), m_account(account), m_sync(sync), m_l10n(l10n) {
    // Both buttons share the row's trailing place; the state shows one of them.
    auto* buttons = new QWidget;
    auto* buttonsLayout = new QHBoxLayout(buttons);
    buttonsLayout->setContentsMargins(0, 0, 0, 0);
    m_signIn = new GTPillButton(
        QString(), true, [this] { m_account.signIn(); }, buttons);
    m_signOut = new GTPillButton(
        QString(), false, [this] { m_account.signOut(); }, buttons);
    buttonsLayout->addWidget(m_signIn);
    buttonsLayout->addWidget(m_signOut);
    m_accountRow = new SettingsRow(buttons);
    addCard()->addRow(m_accountRow);

    m_syncSwitch = new ToggleSwitch;
    m_syncSwitch->setChecked(m_sync.enabled());
    m_syncRow = new SettingsRow(m_syncSwitch);
    addCard()->addRow(m_syncRow);
    // `clicked` is the user's alone; the engine's own changes come back through enabledChanged.
    connect(m_syncSwitch, &QAbstractButton::clicked, &m_sync, &CloudSync::setEnabled);
    connect(&m_sync, &CloudSync::enabledChanged, m_syncSwitch, &QAbstractButton::setChecked);

    connect(&m_account, &CloudAccount::statePublished, this, &AccountTab::relabel);
    connect(&m_l10n, &L10n::languageChanged, this, &AccountTab::relabel);
    relabel();
}

void AccountTab::relabel() {
    const CloudAccount::State& state = m_account.state();
    if (state.isSignedIn()) {
        // An account the service gave no e-mail is still named by its plan.
        const QString identity = state.email().isEmpty() ? state.tier() : state.email();
        m_accountRow->setTexts(m_l10n.string(QStringLiteral("acct.signedIn")), identity);
    } else {
        m_accountRow->setTexts(m_l10n.string(QStringLiteral("acct.signedOutTitle")),
                               m_l10n.string(QStringLiteral("acct.signedOutBody")));
    }
    m_signIn->setTitleText(m_l10n.string(QStringLiteral("acct.signIn")));
    m_signOut->setTitleText(m_l10n.string(QStringLiteral("acct.signOut")));
    m_signIn->setVisible(!state.isSignedIn());
    m_signOut->setVisible(state.isSignedIn());
    m_syncRow->setTexts(m_l10n.string(QStringLiteral("acct.sync")),
                        m_l10n.string(QStringLiteral("acct.syncBody")));
    setFootnote(m_l10n.string(QStringLiteral("acct.footer")));
}
