#include "ui/settings/PermissionsTab.h"

#include "core/Permissions.h"
#include "support/L10n.h"
#include "ui/GTPillButton.h"
#include "ui/settings/Badge.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsRow.h"

#include <QHBoxLayout>

PermissionsTab::PermissionsTab(Permissions& permissions, L10n& l10n,
                               std::chrono::milliseconds pollInterval, QWidget* parent)
    : SettingsPage(parent), m_permissions(permissions), m_l10n(l10n),
      m_badge(new Badge(Badge::Tone::Positive)),
      m_grant(new GTPillButton(QString(), true, [this] { grant(); })) {
    auto* state = new QWidget;
    auto* stateLayout = new QHBoxLayout(state);
    stateLayout->setContentsMargins(0, 0, 0, 0);
    stateLayout->addWidget(m_badge);
    stateLayout->addWidget(m_grant);
    m_row = new SettingsRow(state);
    addCard()->addRow(m_row);

    m_poll.setInterval(pollInterval);
    connect(&m_poll, &QTimer::timeout, this, &PermissionsTab::refresh);
    connect(&m_l10n, &L10n::languageChanged, this, &PermissionsTab::relabel);
    relabel();
    refresh();
}

void PermissionsTab::showEvent(QShowEvent* event) {
    refresh();
    m_poll.start();
    SettingsPage::showEvent(event);
}

void PermissionsTab::hideEvent(QHideEvent* event) {
    m_poll.stop();
    SettingsPage::hideEvent(event);
}

void PermissionsTab::refresh() {
    setGranted(m_permissions.hasScreenRecording());
}

void PermissionsTab::setGranted(bool granted) {
    m_granted = granted;
    m_badge->setVisible(granted);
    m_grant->setVisible(!granted);
}

void PermissionsTab::grant() {
    if (m_permissions.hasScreenRecording()) {
        setGranted(true);
        return;
    }
    if (m_didPromptExplicitly) {
        m_permissions.openScreenRecordingSettings();
        return;
    }
    // Records when the user was sent to grant it; the desktop's prompt comes at most once
    // per run, whoever asked first.
    m_didPromptExplicitly = true;
    m_permissions.requestScreenRecording();
}

void PermissionsTab::relabel() {
    m_row->setTexts(m_l10n.string(QStringLiteral("perm.screen")),
                    m_l10n.string(QStringLiteral("perm.screenWhy")));
    m_badge->setText(m_l10n.string(QStringLiteral("perm.granted")));
    m_grant->setTitleText(m_l10n.string(QStringLiteral("common.grant")));
    setFootnote(m_l10n.string(QStringLiteral("perm.footer")));
}
