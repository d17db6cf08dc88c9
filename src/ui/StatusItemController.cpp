#include "ui/StatusItemController.h"

#include "BuildConfig.h"
#include "base/TextUtil.h"
#include "core/CaptureController.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "support/L10n.h"
#include "support/UpdaterController.h"
#include "ui/HUDToast.h"
#include "ui/SettingsWindowController.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>

namespace {

const QString appName = QStringLiteral("Glintext");

} // namespace

StatusItemController::Services StatusItemController::Services::system() {
    Services s;
    s.permissionGranted = [] { return Permissions::hasScreenRecording(); };
    s.didPromptPermission = [] { return Permissions::didPromptScreenRecording(); };
    s.requestPermission = [] { Permissions::requestScreenRecording(); };
    s.openPermissionSettings = [] { Permissions::openScreenRecordingSettings(); };
    s.beginCapture = [](bool hq) { CaptureController::shared().beginCapture(hq); };
    s.showToast = [](const QString& text) { HUDToast::show(text); };
    s.showSettings = [] { SettingsWindowController::shared().show(); };
    s.updateFeedConfigured = [] { return UpdaterController::feedConfigured(); };
    s.checkForUpdates = [] { UpdaterController::shared().checkForUpdates(); };
    s.quit = [] { QCoreApplication::quit(); };
    s.reduceMotion = [] { return AlertBadge::desktopReducesMotion(); };
    s.keyboardModifiers = [] { return QGuiApplication::queryKeyboardModifiers(); };
    s.mouseButtons = [] { return QGuiApplication::mouseButtons(); };
    return s;
}

StatusItemController::StatusItemController(QObject* parent)
    : StatusItemController(Services::system(), Timing{}, parent) {}

StatusItemController::StatusItemController(Services services, Timing timing, QObject* parent)
    : QObject(parent), m_services(std::move(services)), m_menu(std::make_unique<QMenu>()),
      m_statusItem(std::make_unique<QSystemTrayIcon>()) {
    // A missing member falls back to the real service, so tests set only what they watch.
    const Services real = Services::system();
    auto fill = [](auto& member, const auto& fallback) {
        if (!member)
            member = fallback;
    };
    fill(m_services.permissionGranted, real.permissionGranted);
    fill(m_services.didPromptPermission, real.didPromptPermission);
    fill(m_services.requestPermission, real.requestPermission);
    fill(m_services.openPermissionSettings, real.openPermissionSettings);
    fill(m_services.beginCapture, real.beginCapture);
    fill(m_services.showToast, real.showToast);
    fill(m_services.showSettings, real.showSettings);
    fill(m_services.updateFeedConfigured, real.updateFeedConfigured);
    fill(m_services.checkForUpdates, real.checkForUpdates);
    fill(m_services.quit, real.quit);
    fill(m_services.reduceMotion, real.reduceMotion);
    fill(m_services.keyboardModifiers, real.keyboardModifiers);
    fill(m_services.mouseButtons, real.mouseButtons);

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
    connect(&OCRHistoryStore::shared(), &OCRHistoryStore::itemsChanged, this,
            &StatusItemController::scheduleRebuild);
    connect(&L10n::shared(), &L10n::languageChanged, this, &StatusItemController::scheduleRebuild);

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
    const bool granted = m_services.permissionGranted();
    const bool changed = m_iconSet && (granted == m_badged);
    m_state = granted ? MenuBarIcon::State::Active : MenuBarIcon::State::PermissionWarning;
    m_badged = !granted;
    m_badge.update(m_badged, m_services.reduceMotion());
    applyIcon();
    if (m_statusItem->toolTip() != appName) // panels are told of every change
        m_statusItem->setToolTip(appName);
    return changed;
}

void StatusItemController::applyIcon(bool force) {
    const QPalette palette = QGuiApplication::palette();
    const QColor colour = palette.color(QPalette::Active, QPalette::WindowText);
    const qreal dotScale = m_badged ? m_badge.currentScale() : 0.0;
    // Hosts that take bitmaps are sent a new set on every change: skip identical frames.
    if (!force && m_iconSet && m_shownBadged == m_badged && m_shownColour == colour &&
        qFuzzyCompare(1.0 + m_shownDotScale, 1.0 + dotScale))
        return;
    m_statusItem->setIcon(MenuBarIcon::image(m_state, m_badged, dotScale, palette));
    m_iconSet = true;
    m_shownBadged = m_badged;
    m_shownColour = colour;
    m_shownDotScale = dotScale;
}

void StatusItemController::handleActivation(QSystemTrayIcon::ActivationReason reason) {
    if (reason != QSystemTrayIcon::Trigger)
        return; // the context menu opens by itself; double and middle clicks do nothing
    if (m_services.keyboardModifiers() & Qt::ControlModifier) {
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
    if (m_services.mouseButtons() != Qt::NoButton && m_releaseWait.elapsed() < longestWaitMs) {
        m_releaseTimer.start();
        return;
    }
    m_releaseTimer.stop();
    m_services.beginCapture(false);
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
    QAction* item = m_menu->addAction(L10n::shared().string(QString::fromLatin1(key)));
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
    const L10n& l10n = L10n::shared();

    addItem("menu.capture", &StatusItemController::captureNow,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_2));
    addItem("menu.captureHQ", &StatusItemController::captureHQNow,
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_2));
    if (m_badged)
        addItem("menu.permissionNeeded", &StatusItemController::openPermissionSettings);

    const QList<OCRHistoryStore::Capture>& items = OCRHistoryStore::shared().items();
    if (!items.isEmpty()) {
        m_menu->addSeparator();
        QAction* heading = m_menu->addAction(l10n.string(QStringLiteral("menu.recent")));
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
    if (m_services.updateFeedConfigured())
        addItem("menu.check_updates", &StatusItemController::checkForUpdates);
    addItem("menu.about", &StatusItemController::showAbout);
    m_menu->addSeparator();
    addItem("menu.quit", &StatusItemController::quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void StatusItemController::captureNow() {
    m_services.beginCapture(false);
}

void StatusItemController::captureHQNow() {
    m_services.beginCapture(true);
}

void StatusItemController::openPermissionSettings() {
    // The system prompt is asked for once per run, whoever asks first; the settings open
    // every time.
    if (!m_services.didPromptPermission())
        m_services.requestPermission();
    m_services.openPermissionSettings();
}

void StatusItemController::copyRecent(QAction* item) {
    const QUuid id = item->data().toUuid();
    const QList<OCRHistoryStore::Capture>& items = OCRHistoryStore::shared().items();
    const auto it = std::find_if(items.begin(), items.end(),
                                 [&](const OCRHistoryStore::Capture& c) { return c.id == id; });
    if (it == items.end())
        return; // cleared or pruned while the menu was open
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(it->text);
    // Asked for explicitly, so confirmed whatever the toast setting says.
    m_services.showToast(L10n::shared().string(QStringLiteral("toast.copied")));
}

void StatusItemController::showSettings() {
    m_services.showSettings();
}

void StatusItemController::showOnboarding() {
    if (onShowOnboarding)
        onShowOnboarding();
}

void StatusItemController::checkForUpdates() {
    m_services.checkForUpdates();
}

void StatusItemController::showAbout() {
    if (!m_aboutBox) {
        m_aboutBox = new QMessageBox();
        m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
        m_aboutBox->setWindowTitle(L10n::shared().string(QStringLiteral("menu.about")));
        m_aboutBox->setIconPixmap(
            MenuBarIcon::image(MenuBarIcon::State::Active, false).pixmap(QSize(64, 64)));
        m_aboutBox->setText(QStringLiteral("<b>%1</b>").arg(appName));
        m_aboutBox->setInformativeText(QString::fromLatin1(BuildConfig::version));
        m_aboutBox->setStandardButtons(QMessageBox::Ok);
    }
    m_aboutBox->show();
    m_aboutBox->raise();
    m_aboutBox->activateWindow();
}

void StatusItemController::quit() {
    m_services.quit();
}
