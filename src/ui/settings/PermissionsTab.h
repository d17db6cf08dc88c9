#pragma once

#include "ui/settings/SettingsPage.h"

#include <QTimer>

#include <chrono>

class Badge;
class GTPillButton;
class L10n;
class Permissions;
class SettingsRow;

// The Permissions tab: whether the screen may be read, and a button that sends the user to
// grant it. The state is read when the tab is built, each time it is shown and at every
// poll while it is on screen (the desktop may grant it any moment).
class PermissionsTab : public SettingsPage {
    Q_OBJECT
public:
    PermissionsTab(Permissions& permissions, L10n& l10n, std::chrono::milliseconds pollInterval,
                   QWidget* parent = nullptr);

    bool showsGranted() const { return m_granted; }
    bool isPolling() const { return m_poll.isActive(); }
    GTPillButton* grantButton() const { return m_grant; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refresh();
    void setGranted(bool granted);
    void grant();
    void relabel();

    Permissions& m_permissions;
    L10n& m_l10n;
    QTimer m_poll;
    SettingsRow* m_row;
    Badge* m_badge;
    GTPillButton* m_grant;
    bool m_granted = false;
    // The first press in this tab's life asks for the desktop's prompt; later presses open
    // the desktop's settings instead.
    bool m_didPromptExplicitly = false;
};
