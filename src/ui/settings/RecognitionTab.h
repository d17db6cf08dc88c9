#pragma once

#include "core/Settings.h"
#include "ui/settings/SettingsPage.h"

#include <QHash>

class AppSettings;
class GTDropdown;
class GTPillButton;
class KeyChips;
class L10n;
class OCRHistoryStore;
class SettingsRow;

// The Recognition tab: clean-up, codes, the high-accuracy shortcut and feedback, then the
// capture history (keep, size, clear) with its live count.
class RecognitionTab : public SettingsPage {
    Q_OBJECT
public:
    RecognitionTab(AppSettings& settings, OCRHistoryStore& history, L10n& l10n,
                   QWidget* parent = nullptr);

    GTDropdown* limitPicker() const { return m_limit; }
    SettingsRow* clearRow() const { return m_clearRow; }
    GTPillButton* clearButton() const { return m_clearButton; }

private:
    SettingsRow* switchRow(const char* titleKey, const char* subtitleKey,
                           const Setting<bool>& setting);
    void relabel();
    void showCount();

    AppSettings& m_settings;
    OCRHistoryStore& m_history;
    L10n& m_l10n;
    QHash<SettingsRow*, std::pair<const char*, const char*>> m_keys;
    GTDropdown* m_limit;
    KeyChips* m_hqKeys;
    SettingsRow* m_hqRow = nullptr;
    SettingsRow* m_limitRow = nullptr;
    SettingsRow* m_clearRow = nullptr;
    GTPillButton* m_clearButton = nullptr;
};
