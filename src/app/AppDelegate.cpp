#include "app/AppDelegate.h"

#include "core/AppSettings.h"
#include "core/CaptureController.h"
#include "core/CloudAccount.h"
#include "core/CloudSync.h"
#include "core/CrashReporter.h"
#include "core/ImproveReporter.h"
#include "core/OCREngine.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "core/TesterMode.h"
#include "support/GlobalHotKey.h"
#include "support/L10n.h"
#include "support/UpdaterController.h"
#include "ui/OnboardingWindowController.h"
#include "ui/SelectionOverlayController.h"
#include "ui/SettingsWindowController.h"
#include "ui/StatusItemController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QUrl>

AppDelegate::AppDelegate(QObject* parent) : QObject(parent), m_settings(AppSettings::shared()) {}

AppDelegate::~AppDelegate() {
    if (qApp)
        qApp->removeEventFilter(this);
}

OnboardingWindowController& AppDelegate::onboarding() {
    if (!m_onboarding)
        m_onboarding = new OnboardingWindowController(this);
    return *m_onboarding;
}

void AppDelegate::applicationDidFinishLaunching() {
    L10n::shared().bootstrap();
    installEditMenu();
    createStatusItem();

    // The handlers only queue the capture, so it never runs inside the key-event dispatch.
    GlobalHotKey& hotKey = GlobalHotKey::shared();
    hotKey.onTrigger = [] {
        QTimer::singleShot(0, qApp, [] { CaptureController::shared().beginCapture(false); });
    };
    hotKey.onTriggerHQ = [] {
        QTimer::singleShot(0, qApp, [] { CaptureController::shared().beginCapture(true); });
    };
    hotKey.registerDefaultCaptureHotKey();

    const bool pending = Permissions::consumePendingPermissionRelaunch();
    showFirstWindow(pending);

    if (UpdaterController::feedConfigured())
        UpdaterController::shared();
    CloudAccount::shared().start();
    CloudSync::shared().start();
    CrashReporter::shared().start();
    TesterMode::shared().start();
    ImproveReporter::shared().start();
    recordEnvironment();
    // Loading the recognition engines in the background keeps the first capture quick.
    OCREngine::warmUp();
}

void AppDelegate::showFirstWindow(bool pendingPermissionRelaunch) {
    if (OnboardingWindowController::forcedByEnvironment() || !m_settings.onboardingCompleted()) {
        onboarding().show(false);
    } else if (pendingPermissionRelaunch) {
        QPointer<AppDelegate> self(this);
        QTimer::singleShot(permissionRelaunchDelayMs, this, [self] {
            if (self)
                SettingsWindowController::shared().show(SettingsWindowController::Tab::General);
        });
    } else if (!Permissions::hasScreenRecording()) {
        onboarding().show(true);
    }
}

void AppDelegate::recordEnvironment() {
    const QScreen* mainScreen = QGuiApplication::primaryScreen();
    ImproveReporter::shared().record(
        "app.env", {{"cleanupEnabled", m_settings.cleanupEnabled()},
                    {"detectQR", m_settings.detectQR()},
                    {"keepHistory", m_settings.keepHistory()},
                    {"displays", qint64(QGuiApplication::screens().size())},
                    {"scale", mainScreen ? int(mainScreen->devicePixelRatio()) : 1}});
}

// The tray item is created here, first thing after the menu shortcuts; the item's guide entry
// opens onboarding at its first page.
void AppDelegate::createStatusItem() {
    m_statusItem = new StatusItemController(this);
    QPointer<AppDelegate> self(this);
    m_statusItem->onShowOnboarding = [self] {
        if (self)
            self->onboarding().show(false);
    };
}

// Qt's text fields already answer the standard editing keys (undo, redo, cut, copy, paste,
// select all) without a menu; what an accessory app lacks is the quit shortcut.
void AppDelegate::installEditMenu() {
    qApp->installEventFilter(this);
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Quit) && !SelectionOverlayController::shared().isOpen()) {
            QApplication::quit();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void AppDelegate::handleCommand(const AppCommand& command) {
    switch (command.kind) {
    case AppCommand::Kind::Launch:
        break;
    case AppCommand::Kind::Capture:
        CaptureController::shared().beginCapture(false);
        break;
    case AppCommand::Kind::CaptureHQ:
        CaptureController::shared().beginCapture(true);
        break;
    case AppCommand::Kind::Settings:
        SettingsWindowController::shared().show(SettingsWindowController::Tab::General);
        break;
    case AppCommand::Kind::OpenUrl:
        handleUrl(command.url);
        break;
    }
}

void AppDelegate::handleUrl(const QString& text) {
    if (text.isEmpty())
        return;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return;
    if (CloudAccount::shared().handleCallback(url))
        SettingsWindowController::shared().show(SettingsWindowController::Tab::Account);
}

void AppDelegate::applicationWillTerminate() {
    OCRHistoryStore::shared().saveNow();
}
