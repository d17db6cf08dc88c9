#include "ui/settings/AboutTab.h"

#include "support/L10n.h"

AboutTab::AboutTab(AppSettings& settings, L10n& l10n, QWidget* parent)
    : SettingsPage(parent), m_settings(settings), m_l10n(l10n) {
    connect(&m_l10n, &L10n::languageChanged, this, &AboutTab::relabel);
    relabel();
}

void AboutTab::relabel() {
    setFootnote(m_l10n.string(QStringLiteral("about.copyright")));
}
