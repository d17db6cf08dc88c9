#include "ui/settings/AboutTab.h"

#include "core/AppSettings.h"
#include "support/L10n.h"
#include "support/UpdaterController.h"
#include "ui/GTPillButton.h"
#include "ui/settings/AboutHeader.h"
#include "ui/settings/SettingBindings.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/ToggleSwitch.h"

AboutTab::AboutTab(AppSettings& settings, L10n& l10n, UpdaterController* updater, QWidget* parent)
    : SettingsPage(parent), m_settings(settings), m_l10n(l10n), m_updater(updater) {
    addBlock(new AboutHeader(l10n));
    SettingsCard* card = addCard();
    if (m_updater)
        addUpdateRows(card);

    auto* crash = new ToggleSwitch;
    SettingBindings::bindSwitch(crash, m_settings, Settings::crashReportingEnabled);
    m_crashRow = new SettingsRow(crash);
    card->addRow(m_crashRow);
    auto* improve = new ToggleSwitch;
    SettingBindings::bindSwitch(improve, m_settings, Settings::improveDataSharing);
    m_improveRow = new SettingsRow(improve);
    card->addRow(m_improveRow);

    connect(&m_l10n, &L10n::languageChanged, this, &AboutTab::relabel);
    relabel();
}

void AboutTab::addUpdateRows(SettingsCard* card) {
    m_autoUpdate = new ToggleSwitch;
    m_autoUpdate->setChecked(m_updater->automaticallyChecksForUpdates());
    connect(m_autoUpdate, &QAbstractButton::clicked, this, [this](bool on) {
        if (m_updater)
            m_updater->setAutomaticallyChecksForUpdates(on);
    });
    m_autoUpdateRow = new SettingsRow(m_autoUpdate);
    card->addRow(m_autoUpdateRow);

    m_checkNow = new GTPillButton(QString(), false, [this] {
        if (m_updater)
            m_updater->checkForUpdates();
    });
    m_checkNowRow = new SettingsRow(m_checkNow);
    card->addRow(m_checkNowRow);
}

void AboutTab::showEvent(QShowEvent* event) {
    if (m_autoUpdate && m_updater)
        m_autoUpdate->setChecked(m_updater->automaticallyChecksForUpdates());
    SettingsPage::showEvent(event);
}

void AboutTab::relabel() {
    if (m_autoUpdateRow) {
        m_autoUpdateRow->setTexts(m_l10n.string(QStringLiteral("gen.autoUpdate")),
                                  m_l10n.string(QStringLiteral("gen.autoUpdateSub")));
        m_checkNowRow->setTexts(m_l10n.string(QStringLiteral("update.title")),
                                L10n::format(m_l10n.string(QStringLiteral("about.version")),
                                             AboutHeader::versionNumber()));
        m_checkNow->setTitleText(m_l10n.string(QStringLiteral("common.checkNow")));
    }
    m_crashRow->setTexts(m_l10n.string(QStringLiteral("gen.crashReports")),
                         m_l10n.string(QStringLiteral("gen.crashReportsSub")));
    m_improveRow->setTexts(m_l10n.string(QStringLiteral("priv.improve")),
                           m_l10n.string(QStringLiteral("priv.improveSub")));
}
