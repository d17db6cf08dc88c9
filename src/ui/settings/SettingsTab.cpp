#include "ui/settings/SettingsTab.h"

namespace SettingsTabs {

const QList<SettingsTab>& all() {
    static const QList<SettingsTab> tabs{SettingsTab::General, SettingsTab::History,
                                         SettingsTab::Privacy, SettingsTab::Permissions,
                                         SettingsTab::Account, SettingsTab::About};
    return tabs;
}

QString rawValue(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::General:
        return QStringLiteral("general");
    case SettingsTab::History:
        return QStringLiteral("history");
    case SettingsTab::Privacy:
        return QStringLiteral("privacy");
    case SettingsTab::Permissions:
        return QStringLiteral("permissions");
    case SettingsTab::Account:
        return QStringLiteral("account");
    case SettingsTab::About:
        return QStringLiteral("about");
    }
    return QStringLiteral("general");
}

std::optional<SettingsTab> fromRawValue(const QString& raw) {
    for (SettingsTab tab : all()) {
        if (rawValue(tab) == raw)
            return tab;
    }
    return std::nullopt;
}

QString titleKey(SettingsTab tab) {
    return QStringLiteral("tab.") + rawValue(tab);
}

QString subtitleKey(SettingsTab tab) {
    return QStringLiteral("sub.") + rawValue(tab);
}

std::pair<QColor, QColor> gradient(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::General:
        return {QColor(0x9a, 0x9a, 0xa1), QColor(0x5f, 0x5f, 0x66)};
    case SettingsTab::History:
        return {QColor(0x3d, 0xb8, 0xf5), QColor(0x0a, 0x6c, 0xe0)};
    case SettingsTab::Privacy:
        return {QColor(0x7d, 0x7a, 0xff), QColor(0x46, 0x3f, 0xc9)};
    case SettingsTab::Permissions:
        return {QColor(0x3c, 0xd0, 0x6b), QColor(0x1f, 0x8f, 0x45)};
    case SettingsTab::Account:
        return {QColor(0xff, 0xa9, 0x3a), QColor(0xf0, 0x6a, 0x1a)};
    case SettingsTab::About:
        return {QColor(0x5e, 0xc8, 0xf2), QColor(0x2a, 0x7f, 0xd4)};
    }
    return {Qt::gray, Qt::darkGray};
}

} // namespace SettingsTabs
