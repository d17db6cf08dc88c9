#include "ui/StatusItemController.h"

#include "base/TextUtil.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "platform/ClipboardService.h"
#include "platform/DesktopState.h"
#include "support/L10n.h"
#include "ui/Toaster.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>

namespace {

const QString appName = QStringLiteral("Glintext");

} // namespace

StatusItemController::StatusItemController(Permissions& permissions, const OCRHistoryStore& history,
                                           const L10n& l10n, ClipboardService& clipboard,
                                           Toaster& toaster, DesktopState& desktop,
                                           bool updatesConfigured, QObject* parent)
    : StatusItemController(permissions, history, l10n, clipboard, toaster, desktop,
                           updatesConfigured, Timing{}, parent) {}

StatusItemController::StatusItemController(Permissions& permissions, const OCRHistoryStore& history,
                                           const L10n& l10n, ClipboardService& clipboard,
                                           Toaster& toaster, DesktopState& desktop,
                                           bool updatesConfigured, Timing timing, QObject* parent)
    : QObject(parent), m_permissions(permissions), m_history(history), m_l10n(l10n),
      m_clipboard(clipboard), m_toaster(toaster), m_desktop(desktop),
      m_updatesConfigured(updatesConfigured), m_menu(std::make_unique<QMenu>()),
      m_statusItem(std::make_unique<QSystemTrayIcon>()) {
    m_badge.setPeriod(timing.badgePeriodMs);
    m_badge.setFrameInterval(timing.badgeFrameIntervalMs);
    connect(&m_badge, &AlertBadge::changed, this, [this] { applyIcon(); });

    // The menu is rebuilt whenever it opens, so recent captures, the permission item and
    // the language are always current.
    connect(m_menu.get(), &QMenu::aboutToShow, this, &StatusItemController::rebuildMenu);
    m_statusItem->setContextMenu(m_menu.get());
    connect(m_statusItem.get(), &QSystemTrayIcon::activated, this,
            &StatusItemController::handleActivation);

    // Panels that read the menu without announcing that they open it still see fresh items.
    connect(&history, &OCRHistoryStore::itemsChanged, this, &StatusItemController::scheduleRebuild);
    connect(&l10n, &L10n::languageChanged, this, &StatusItemController::scheduleRebuild);

    // Every widget hears of an application palette change; the menu is the one widget the
    // item always has.
    m_menu->installEventFilter(this);

    refreshIcon();
    rebuildMenu();
    m_statusItem->show();

    // Follows a permission granted or revoked elsewhere without any user action.
    m_iconTimer.setInterval(timing.refreshIntervalMs > 0 ? timing.refreshIntervalMs : 2000);
    connect(&m_iconTimer, &QTimer::timeout, this, &StatusItemController::refreshIcon);
    m_iconTimer.start();

    m_releaseTimer.setInterval(15);
    connect(&m_releaseTimer, &QTimer::timeout, this, &StatusItemController::captureWhenButtonsUp);
}

StatusItemController::~StatusItemController() {
    if (m_aboutBox)
        delete m_aboutBox.data();
}

bool StatusItemController::eventFilter(QObject* watched, QEvent* event) {
    // A new theme or dark mode changes the panel's text colour.
    if (watched == m_menu.get() && (event->type() == QEvent::ApplicationPaletteChange ||
                                    event->type() == QEvent::PaletteChange))
        applyIcon(true);
    return QObject::eventFilter(watched, event);
}

void StatusItemController::refreshIcon() {
    if (updatePermissionState())
        scheduleRebuild();
}

void StatusItemController::scheduleRebuild() {
    // Later, never inside a menu action's own signal, and not under an open menu.
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    QTimer::singleShot(0, this, [this] {
        m_rebuildPending = false;
        if (!m_menu->isVisible())
            rebuildMenu();
    });
}

bool StatusItemController::updatePermissionState() {
    const bool granted = m_permissions.hasScreenRecording();
    const bool changed = m_iconSet && (granted == m_badged);
    m_state = granted ? TrayIcon::State::Active : TrayIcon::State::PermissionWarning;
    m_badged = !granted;
    m_badge.update(m_badged, m_desktop.reducesMotion());
    applyIcon();
    if (m_statusItem->toolTip() != appName) // panels are told of every change
        m_statusItem->setToolTip(appName);
    return changed;
}

void StatusItemController::applyIcon(bool force) {
    QPalette palette = QGuiApplication::palette();
    // The panel's own text colour where the desktop tells it; else the toolkit's, a guess
    // that the icon's contrasting edge makes safe.
    const std::optional<QColor> panel = m_desktop.panelForeground();
    if (panel) {
        QColor disabled = *panel;
        disabled.setAlphaF(0.5);
        palette.setColor(QPalette::Active, QPalette::WindowText, *panel);
        palette.setColor(QPalette::Inactive, QPalette::WindowText, *panel);
        palette.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    }
    const bool edged = !panel;
    const QColor colour = palette.color(QPalette::Active, QPalette::WindowText);
    const qreal dotScale = m_badged ? m_badge.currentScale() : 0.0;
    // Hosts that take bitmaps are sent a new set on every change: skip identical frames.
    if (!force && m_iconSet && m_shownBadged == m_badged && m_shownColour == colour &&
        m_shownEdged == edged && qFuzzyCompare(1.0 + m_shownDotScale, 1.0 + dotScale))
        return;
    m_statusItem->setIcon(TrayIcon::image(m_state, m_badged, dotScale, palette, edged));
    m_iconSet = true;
    m_shownBadged = m_badged;
    m_shownColour = colour;
    m_shownEdged = edged;
    m_shownDotScale = dotScale;
}

void StatusItemController::handleActivation(QSystemTrayIcon::ActivationReason reason) {
    if (reason != QSystemTrayIcon::Trigger)
        return; // the context menu opens by itself; double and middle clicks do nothing
    if (m_desktop.keyboardModifiers() & Qt::ControlModifier) {
        openMenu();
        return;
    }
    // X trays report the click on the press; the release would then land on the selection
    // overlay, which takes a click without a drag as "cancel". Start once the button is up.
    if (!m_releaseTimer.isActive()) {
        m_releaseWait.start();
        captureWhenButtonsUp();
    }
}

void StatusItemController::captureWhenButtonsUp() {
    constexpr qint64 longestWaitMs = 3000; // a release we never hear of must not block clicks
    if (m_desktop.mouseButtons() != Qt::NoButton && m_releaseWait.elapsed() < longestWaitMs) {
        m_releaseTimer.start();
        return;
    }
    m_releaseTimer.stop();
    Q_EMIT captureRequested(false);
}

void StatusItemController::openMenu() {
    m_menu->popup(QCursor::pos());
}

QString StatusItemController::recentTitle(const QString& text) {
    QString flat = text;
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QString title = TextUtil::firstGraphemes(flat, recentTitleLength);
    // A menu reads "&" as a mnemonic marker and a tab as the start of the shortcut column.
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    title.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return title;
}

QAction* StatusItemController::addItem(const char* key, void (StatusItemController::*action)(),
                                       const QKeySequence& shortcut) {
    QAction* item = m_menu->addAction(m_l10n.string(QString::fromLatin1(key)));
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
        item->setShortcutContext(Qt::WidgetShortcut); // a hint: the global shortcuts act
        item->setShortcutVisibleInContextMenu(true);
    }
    connect(item, &QAction::triggered, this, action);
    return item;
}

void StatusItemController::rebuildMenu() {
    updatePermissionState();
    m_menu->clear();

    addItem("menu.capture", &StatusItemController::captureNow,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_2));
    addItem("menu.captureHQ", &StatusItemController::captureHQNow,
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_2));
    if (m_badged)
        addItem("menu.permissionNeeded", &StatusItemController::openPermissionSettings);

    const QList<OCRHistoryStore::Capture>& items = m_history.items();
    if (!items.isEmpty()) {
        m_menu->addSeparator();
        QAction* heading = m_menu->addAction(m_l10n.string(QStringLiteral("menu.recent")));
        heading->setEnabled(false);
        for (qsizetype i = 0; i < std::min<qsizetype>(items.size(), recentCount); ++i) {
            QAction* item = m_menu->addAction(recentTitle(items[i].text));
            item->setData(items[i].id);
            connect(item, &QAction::triggered, this, [this, item] { copyRecent(item); });
        }
    }

    m_menu->addSeparator();
    addItem("menu.settings", &StatusItemController::showSettings,
            QKeySequence(Qt::CTRL | Qt::Key_Comma));
    addItem("menu.guide", &StatusItemController::showOnboarding);
    if (m_updatesConfigured)
        addItem("menu.check_updates", &StatusItemController::checkForUpdates);
    addItem("menu.about", &StatusItemController::showAbout);
    m_menu->addSeparator();
    addItem("menu.quit", &StatusItemController::quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void StatusItemController::captureNow() {
    Q_EMIT captureRequested(false);
}

void StatusItemController::captureHQNow() {
    Q_EMIT captureRequested(true);
}

void StatusItemController::openPermissionSettings() {
    // The system prompt is asked for once per run, whoever asks first; the settings open
    // every time.
    if (!m_permissions.didPromptScreenRecording())
        m_permissions.requestScreenRecording();
    m_permissions.openScreenRecordingSettings();
}

void StatusItemController::copyRecent(QAction* item) {
    const QUuid id = item->data().toUuid();
    const QList<OCRHistoryStore::Capture>& items = m_history.items();
    const auto it = std::find_if(items.begin(), items.end(),
                                 [&](const OCRHistoryStore::Capture& c) { return c.id == id; });
    if (it == items.end())
        return; // cleared or pruned while the menu was open
    m_clipboard.setText(it->text);
    // Asked for explicitly, so confirmed whatever the toast setting says.
    m_toaster.show(m_l10n.string(QStringLiteral("toast.copied")));
}

void StatusItemController::showSettings() {
    Q_EMIT settingsRequested();
}

void StatusItemController::showOnboarding() {
    Q_EMIT onboardingRequested();
}

void StatusItemController::checkForUpdates() {
    Q_EMIT updateCheckRequested();
}

void StatusItemController::showAbout() {
    if (!m_aboutBox) {
        m_aboutBox = new AboutDialog(m_l10n);
        m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_aboutBox->show();
    m_aboutBox->raise();
    m_aboutBox->activateWindow();
}

void StatusItemController::quit() {
    Q_EMIT quitRequested();
}
