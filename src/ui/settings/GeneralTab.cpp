#include "ui/settings/GeneralTab.h"

#include "core/AppSettings.h"
#include "support/AppLanguage.h"
#include "support/GlobalHotKey.h"
#include "support/L10n.h"
#include "ui/GTDropdown.h"
#include "ui/settings/KeyChips.h"
#include "ui/settings/SettingBindings.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/ToggleSwitch.h"

GeneralTab::GeneralTab(AppSettings& settings, L10n& l10n, QWidget* parent)
    : SettingsPage(parent), m_settings(settings), m_l10n(l10n), m_language(new GTDropdown) {
    m_keys = new KeyChips;
    m_hotkeyRow = new SettingsRow(m_keys);
    m_language->setMinimumWidth(170);
    m_languageRow = new SettingsRow(m_language);
    auto* login = new ToggleSwitch;
    SettingBindings::bindSwitch(login, m_settings, Settings::launchAtLogin);
    m_loginRow = new SettingsRow(login);

    SettingsCard* card = addCard();
    card->addRow(m_hotkeyRow);
    card->addRow(m_languageRow);
    card->addRow(m_loginRow);

    // The empty value stands for the system's language (the key removed).
    connect(m_language, &GTDropdown::selectionPicked, this, [this](const QVariant& value) {
        const QString code = value.toString();
        m_settings.set(Settings::languageCode,
                       code.isEmpty() ? std::nullopt : std::optional<QString>(code));
    });
    connect(&m_settings, &AppSettings::changed, this, [this](const QString& key) {
        if (key == QLatin1String(Settings::languageCode.key))
            showLanguage();
    });
    connect(&m_l10n, &L10n::languageChanged, this, &GeneralTab::relabel);
    relabel();
}

void GeneralTab::showLanguage() {
    m_language->setSelection(m_settings.value(Settings::languageCode).value_or(QString()));
}

void GeneralTab::relabel() {
    QList<GTDropdown::Option> options{
        {QString(), m_l10n.string(QStringLiteral("common.systemDefault"))}};
    for (const AppLanguage& language : AppLanguage::allCases())
        options.append({language.id(), language.displayName()});
    m_language->setOptions(options);
    showLanguage();
    // Key names are the toolkit's, in the language just chosen.
    m_keys->setSequence(GlobalHotKey::sequenceFor(GlobalHotKey::HotKeyID::Capture));
    m_hotkeyRow->setTexts(m_l10n.string(QStringLiteral("gen.hotkey")),
                          m_l10n.string(QStringLiteral("gen.hotkeySub")));
    m_languageRow->setTexts(m_l10n.string(QStringLiteral("gen.language")),
                            m_l10n.string(QStringLiteral("gen.languageSub")));
    m_loginRow->setTexts(m_l10n.string(QStringLiteral("gen.launchLogin")));
    setFootnote(m_l10n.string(QStringLiteral("gen.footer")));
}
