#include "ui/settings/PrivacyTab.h"

#include "support/L10n.h"
#include "ui/settings/Badge.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsRow.h"

#include <array>

namespace {

// Title and subtitle keys of the statements, in order.
constexpr std::array<std::pair<const char*, const char*>, 3> statements{{
    {"priv.local", "priv.localSub"},
    {"priv.noImages", "priv.noImagesSub"},
    {"priv.screenUse", "priv.screenUseSub"},
}};

} // namespace

PrivacyTab::PrivacyTab(L10n& l10n, QWidget* parent)
    : SettingsPage(parent), m_l10n(l10n), m_cloudRow(new SettingsRow) {
    SettingsCard* card = addCard();
    for (size_t i = 0; i < statements.size(); ++i) {
        auto* badge = new Badge(Badge::Tone::Positive);
        auto* row = new SettingsRow(badge);
        card->addRow(row);
        m_statements << row;
        m_badges << badge;
    }
    addCard()->addRow(m_cloudRow);
    connect(&m_l10n, &L10n::languageChanged, this, &PrivacyTab::relabel);
    relabel();
}

void PrivacyTab::relabel() {
    for (size_t i = 0; i < statements.size(); ++i) {
        m_statements[qsizetype(i)]->setTexts(
            m_l10n.string(QString::fromLatin1(statements[i].first)),
            m_l10n.string(QString::fromLatin1(statements[i].second)));
        m_badges[qsizetype(i)]->setText(m_l10n.string(QStringLiteral("priv.alwaysBadge")));
    }
    m_cloudRow->setTexts(m_l10n.string(QStringLiteral("priv.hq")),
                         m_l10n.string(QStringLiteral("priv.hqWhy")));
    setFootnote(m_l10n.string(QStringLiteral("priv.footer")));
}
