#pragma once

#include "ui/settings/SettingsPage.h"

#include <QList>

class Badge;
class L10n;
class SettingsRow;

// The Privacy tab: statements of what never leaves the computer, each always on, and when
// the cloud is used.
class PrivacyTab : public SettingsPage {
    Q_OBJECT
public:
    explicit PrivacyTab(L10n& l10n, QWidget* parent = nullptr);

private:
    void relabel();

    L10n& m_l10n;
    QList<SettingsRow*> m_statements;
    QList<Badge*> m_badges;
    SettingsRow* m_cloudRow;
};
