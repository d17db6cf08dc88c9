#pragma once

#include "ui/AlertBadge.h"
#include "ui/MenuBarIcon.h"

#include <QColor>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QMenu;

// The tray item: a left click starts a capture, the context menu offers both kinds of
// capture, the recent captures, the permission shortcut, settings, the guide, updates, the
// about box and quit. Owned by the application delegate for the life of the process.
class StatusItemController : public QObject {
    Q_OBJECT
public:
    // Everything the item reaches outside itself. system() wires the real services; tests
    // replace single members.
    struct Services {
        std::function<bool()> permissionGranted;
        std::function<bool()> didPromptPermission;
        std::function<void()> requestPermission;
        std::function<void()> openPermissionSettings;
        std::function<void(bool highAccuracy)> beginCapture;
        std::function<void(const QString& text)> showToast;
        std::function<void()> showSettings;
        std::function<bool()> updateFeedConfigured;
        std::function<void()> checkForUpdates;
        std::function<void()> quit;
        std::function<bool()> reduceMotion;
        std::function<Qt::KeyboardModifiers()> keyboardModifiers;
        std::function<Qt::MouseButtons()> mouseButtons;

        static Services system();
    };

    struct Timing {
        int refreshIntervalMs = 2000;
        int badgePeriodMs = AlertBadge::defaultPeriodMs;
        int badgeFrameIntervalMs = AlertBadge::defaultFrameIntervalMs;
    };

    // The most recent captures the menu lists, and the length of their titles.
    static constexpr int recentCount = 5;
    static constexpr int recentTitleLength = 40;

    explicit StatusItemController(QObject* parent = nullptr);
    StatusItemController(Services services, Timing timing, QObject* parent = nullptr);
    ~StatusItemController() override;

    // Set by the application delegate; run by the guide item.
    std::function<void()> onShowOnboarding;

    // Re-reads the permission and updates icon, badge and tooltip.
    void refreshIcon();

    QSystemTrayIcon* statusItem() const { return m_statusItem.get(); }
    QMenu* menu() const { return m_menu.get(); }
    const QTimer& iconTimer() const { return m_iconTimer; }
    const AlertBadge& badge() const { return m_badge; }
    MenuBarIcon::State iconState() const { return m_state; }
    bool isBadged() const { return m_badged; }
    QMessageBox* aboutBox() const { return m_aboutBox; }

    // The title a history text gets in the menu.
    static QString recentTitle(const QString& text);

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

    Services m_services;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_statusItem;
    QTimer m_iconTimer;
    QTimer m_releaseTimer;
    QElapsedTimer m_releaseWait;
    AlertBadge m_badge;
    MenuBarIcon::State m_state = MenuBarIcon::State::Active;
    bool m_badged = false;
    bool m_iconSet = false;
    bool m_rebuildPending = false;
    bool m_shownBadged = false;
    qreal m_shownDotScale = -1;
    QColor m_shownColour;
    QPointer<QMessageBox> m_aboutBox;
};
