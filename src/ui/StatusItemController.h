#pragma once

#include "ui/AlertBadge.h"
#include "ui/TrayIcon.h"
#include "ui/settings/AboutDialog.h"

#include <QColor>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

class ClipboardService;
class DesktopState;
class L10n;
class OCRHistoryStore;
class Permissions;
class QAction;
class QMenu;
class Toaster;

// The tray item: a left click starts a capture, the context menu offers both kinds of
// capture, the recent captures, the permission shortcut, settings, the guide, updates, the
// about box and quit. What the item does itself (icon, badge, menu, copying a recent capture,
// the permission item, the about box) it does with the services it is built with; what it
// asks of the application goes out as a signal. Owned by the application delegate for the
// life of the process.
class StatusItemController : public QObject {
    Q_OBJECT
public:
    struct Timing {
        int refreshIntervalMs = 2000;
        int badgePeriodMs = AlertBadge::defaultPeriodMs;
        int badgeFrameIntervalMs = AlertBadge::defaultFrameIntervalMs;
    };

    // The most recent captures the menu lists, and the length of their titles.
    static constexpr int recentCount = 5;
    static constexpr int recentTitleLength = 40;

    // `updatesConfigured`: the build has an update feed, so the menu offers the check.
    StatusItemController(Permissions& permissions, const OCRHistoryStore& history, const L10n& l10n,
                         ClipboardService& clipboard, Toaster& toaster, DesktopState& desktop,
                         bool updatesConfigured, Timing timing, QObject* parent = nullptr);
    StatusItemController(Permissions& permissions, const OCRHistoryStore& history, const L10n& l10n,
                         ClipboardService& clipboard, Toaster& toaster, DesktopState& desktop,
                         bool updatesConfigured, QObject* parent = nullptr);
    ~StatusItemController() override;

    // Re-reads the permission and updates icon, badge and tooltip.
    void refreshIcon();

    QSystemTrayIcon* statusItem() const { return m_statusItem.get(); }
    QMenu* menu() const { return m_menu.get(); }
    const QTimer& iconTimer() const { return m_iconTimer; }
    const AlertBadge& badge() const { return m_badge; }
    TrayIcon::State iconState() const { return m_state; }
    bool isBadged() const { return m_badged; }
    AboutDialog* aboutBox() const { return m_aboutBox; }

    // The title a history text gets in the menu.
    static QString recentTitle(const QString& text);

Q_SIGNALS:
    void captureRequested(bool highAccuracy);
    void settingsRequested();
    void onboardingRequested();
    void updateCheckRequested();
    void quitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleActivation(QSystemTrayIcon::ActivationReason reason);
    void openMenu();
    void captureWhenButtonsUp();
    void rebuildMenu();
    void scheduleRebuild();
    // Reads the permission into icon, badge and tooltip; true when it changed.
    bool updatePermissionState();
    void applyIcon(bool force = false);
    QAction* addItem(const char* key, void (StatusItemController::*action)(),
                     const QKeySequence& shortcut = {});

    void captureNow();
    void captureHQNow();
    void openPermissionSettings();
    void copyRecent(QAction* item);
    void showSettings();
    void showOnboarding();
    void checkForUpdates();
    void showAbout();
    void quit();

    Permissions& m_permissions;
    const OCRHistoryStore& m_history;
    const L10n& m_l10n;
    ClipboardService& m_clipboard;
    Toaster& m_toaster;
    DesktopState& m_desktop;
    bool m_updatesConfigured;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_statusItem;
    QTimer m_iconTimer;
    QTimer m_releaseTimer;
    QElapsedTimer m_releaseWait;
    AlertBadge m_badge;
    TrayIcon::State m_state = TrayIcon::State::Active;
    bool m_badged = false;
    bool m_iconSet = false;
    bool m_rebuildPending = false;
    bool m_shownBadged = false;
    qreal m_shownDotScale = -1;
    QColor m_shownColour;
    bool m_shownEdged = false;
    QPointer<AboutDialog> m_aboutBox;
};
