#include "ui/settings/RecognitionTab.h"

#include "core/AppSettings.h"
#include "core/OCRHistoryStore.h"
#include "support/GlobalHotKey.h"
#include "support/L10n.h"
#include "ui/ClearHistoryDialog.h"
#include "ui/GTDropdown.h"
#include "ui/GTPillButton.h"
#include "ui/settings/KeyChips.h"
#include "ui/settings/SettingBindings.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/ToggleSwitch.h"

RecognitionTab::RecognitionTab(AppSettings& settings, OCRHistoryStore& history, L10n& l10n,
                               QWidget* parent)
    : SettingsPage(parent), m_settings(settings), m_history(history), m_l10n(l10n),
      m_limit(new GTDropdown) {
    SettingsCard* capture = addCard();
    capture->addRow(switchRow("rec.cleanup", "rec.cleanupSub", Settings::cleanupEnabled));
    capture->addRow(switchRow("rec.qr", "rec.qrSub", Settings::detectQR));
    m_hqKeys = new KeyChips;
    m_hqRow = new SettingsRow(m_hqKeys);
    capture->addRow(m_hqRow);
    capture->addRow(switchRow("rec.hud", "rec.hudSub", Settings::showHUD));
    capture->addRow(switchRow("rec.sound", nullptr, Settings::soundEnabled));

    SettingsCard* kept = addCard();
    kept->addRow(switchRow("hist.keep", "hist.keepSub", Settings::keepHistory));
    m_limit->setMinimumWidth(130);
    m_limitRow = new SettingsRow(m_limit);
    kept->addRow(m_limitRow);
    m_clearButton = new GTPillButton(
        QString(), false, [this] { ClearHistoryDialog::present(m_history, m_l10n, window()); });
    m_clearRow = new SettingsRow(m_clearButton);
    kept->addRow(m_clearRow);

    // A smaller limit prunes the history at once: the store follows the setting.
    connect(m_limit, &GTDropdown::selectionPicked, this, [this](const QVariant& value) {
        m_settings.set(Settings::historyLimit, value.toLongLong());
    });
    connect(&m_settings, &AppSettings::changed, this, [this](const QString& key) {
        if (key == QLatin1String(Settings::historyLimit.key))
            m_limit->setSelection(m_settings.value(Settings::historyLimit));
    });
    connect(&m_history, &OCRHistoryStore::itemsChanged, this, &RecognitionTab::showCount);
    connect(&m_l10n, &L10n::languageChanged, this, &RecognitionTab::relabel);
    relabel();
}

SettingsRow* RecognitionTab::switchRow(const char* titleKey, const char* subtitleKey,
                                       const Setting<bool>& setting) {
    auto* toggle = new ToggleSwitch;
    SettingBindings::bindSwitch(toggle, m_settings, setting);
    auto* row = new SettingsRow(toggle);
    m_keys.insert(row, {titleKey, subtitleKey});
    return row;
}

void RecognitionTab::showCount() {
    m_clearRow->setTexts(
        m_l10n.string(QStringLiteral("hist.clearNow")),
        m_l10n.counted(QStringLiteral("hist.clearNowSub"), qint64(m_history.items().size())));
}

void RecognitionTab::relabel() {
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it) {
        const auto [title, subtitle] = it.value();
        it.key()->setTexts(m_l10n.string(QString::fromLatin1(title)),
                           subtitle ? m_l10n.string(QString::fromLatin1(subtitle)) : QString());
    }
    m_hqKeys->setSequence(GlobalHotKey::sequenceFor(GlobalHotKey::HotKeyID::CaptureHQ));
    m_hqRow->setTexts(m_l10n.string(QStringLiteral("rec.hqTitle")),
                      m_l10n.string(QStringLiteral("rec.hqDesc")));

    QList<GTDropdown::Option> limits;
    for (qint64 limit : Settings::historyLimitChoices)
        limits.append({limit, m_l10n.counted(QStringLiteral("hist.limitFmt"), limit)});
    m_limit->setOptions(limits);
    m_limit->setSelection(m_settings.value(Settings::historyLimit));
    m_limitRow->setTexts(m_l10n.string(QStringLiteral("hist.limit")),
                         m_l10n.string(QStringLiteral("hist.limitSub")));
    m_clearButton->setTitleText(m_l10n.string(QStringLiteral("hist.clearButton")));
    showCount();
    setFootnote(m_l10n.string(QStringLiteral("hist.footer")));
}
