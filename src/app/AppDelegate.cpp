#include "app/AppDelegate.h"

#include "BuildConfig.h"
#include "base/AppPaths.h"
#include "core/CloudConfig.h"
#include "core/DebugLog.h"
#include "platform/Platform.h"
#include "platform/Recognition.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QUrl>

AppDelegate::AppDelegate(Platform& platform, Recognition& recognition, SecretStore& secrets,
                         Defaults& defaults, CrashCatcher& crashes, ProcessLog& processLog,
                         QObject* parent)
    : QObject(parent), m_platform(platform), m_defaults(defaults),
      m_settings(defaults, platform.loginItem()),
      m_history(m_settings, AppPaths::dataFile(OCRHistoryStore::fileName)),
      m_permissions(platform.screenPermission(), defaults), m_languageStore(defaults),
      m_l10n(m_languageStore), m_engine(recognition.textAnalyzer(), recognition.barcodeDetector(),
                                        recognition.languageTagger()),
      m_cloudClient(m_network, CloudConfig::baseURL()), m_keychain(secrets),
      m_improve(m_settings, defaults, m_cloudClient, m_clock,
                AppPaths::dataFile(ImproveReporter::queueFileName)),
      m_cloudAccount(m_keychain, m_cloudClient),
      m_cloudOCR(m_keychain, m_cloudClient, m_cloudAccount),
      m_pipeline(m_settings, defaults, m_permissions, m_history, platform.clipboard(),
                 platform.sound(), m_engine, m_improve, m_cloudOCR),
      m_toast(platform.desktop()), m_overlay(platform.capabilities().exclusiveInputGrabs),
      m_permissionAlert(m_l10n, m_permissions),
      m_capture(m_pipeline, m_overlay, platform.screenGrabber(), m_permissionAlert, m_toast, m_l10n,
                m_settings),
      m_hotKey(platform.hotKeys(), m_l10n),
      m_cloudSync(m_settings, m_cloudAccount, m_keychain, m_cloudClient, defaults),
      m_crashReporter(crashes, defaults, m_cloudClient),
      m_testerMode(defaults, m_cloudClient, processLog, m_clock),
      m_settingsWindow(SettingsServices{m_settings, m_l10n, m_history, m_permissions,
                                        m_cloudAccount, m_cloudSync, m_testerMode, m_clock}) {
    // A language chosen here or arriving from another machine relabels every window at once.
    connect(&m_settings, &AppSettings::changed, &m_l10n, [this](const QString& key) {
        if (key == QLatin1String(Settings::languageCode.key))
            m_l10n.apply(m_settings.value(Settings::languageCode));
    });
}

AppDelegate::~AppDelegate() {
    if (qApp)
        qApp->removeEventFilter(this);
}

OnboardingWindowController& AppDelegate::onboarding() {
    if (!m_onboarding)
        m_onboarding =
            std::make_unique<OnboardingWindowController>(m_settings, m_permissions, m_l10n);
    return *m_onboarding;
}

void AppDelegate::applicationDidFinishLaunching() {
    m_l10n.bootstrap();
    installQuitShortcut();
    createStatusItem();
    registerShortcuts();

    const bool pending = m_permissions.consumePendingPermissionRelaunch();
    showFirstWindow(pending);

    startUpdater();
    m_cloudAccount.start();
    m_cloudSync.start();
    m_crashReporter.start();
    m_testerMode.start();
    Keychain* keychain = &m_keychain; // lives as long as the reporter
    m_improve.setTokenProvider(
        [keychain] { return keychain->get(QString::fromLatin1(CloudAccount::tokenItem)); });
    m_improve.start();
    recordEnvironment();
    // Loading the recognition engines in the background keeps the first capture quick.
    m_engine.warmUp();
}

// Only a build with a feed has an updater; its automatic checks start with it.
void AppDelegate::startUpdater() {
    if (!UpdaterController::feedConfigured())
        return;
    UpdaterController::Options options;
    options.feedUrl = UpdaterController::configuredFeed();
    options.currentVersion = QString::fromUtf8(BuildConfig::version);
    m_updater = std::make_unique<UpdaterController>(m_network, m_defaults, options);
    connect(m_updater.get(), &UpdaterController::checkFinished, this,
            &AppDelegate::showUpdateResult);
    m_settingsWindow.setUpdater(m_updater.get());
    m_updater->start();
}

// One outcome on screen at a time: a newer one replaces what is shown.
void AppDelegate::showUpdateResult(const UpdaterController::Result& result) {
    if (m_updateDialog)
        m_updateDialog->close();
    m_updateDialog =
        new UpdateDialog(result, m_l10n, [](const QUrl& url) { QDesktopServices::openUrl(url); });
    m_updateDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_updateDialog->show();
    m_updateDialog->raise();
    m_updateDialog->activateWindow();
}

// The handlers only queue the capture, so it never runs inside the key-event dispatch.
void AppDelegate::registerShortcuts() {
    CaptureController* capture = &m_capture; // lives as long as the shortcuts
    m_hotKey.onTrigger = [capture] {
        QTimer::singleShot(0, capture, [capture] { capture->beginCapture(false); });
    };
    m_hotKey.onTriggerHQ = [capture] {
        QTimer::singleShot(0, capture, [capture] { capture->beginCapture(true); });
    };
    m_hotKey.registerDefaultCaptureHotKey();
    if (!m_platform.capabilities().globalShortcuts)
        m_hotKey.reportUnavailable(QStringLiteral("none offered"));
}

void AppDelegate::showFirstWindow(bool pendingPermissionRelaunch) {
    if (OnboardingWindowController::forcedByEnvironment() ||
        !m_settings.value(Settings::onboardingCompleted)) {
        onboarding().show(false);
    } else if (pendingPermissionRelaunch) {
        QPointer<AppDelegate> self(this);
        QTimer::singleShot(permissionRelaunchDelayMs, this, [self] {
            if (self)
                self->m_settingsWindow.show(SettingsTab::General);
        });
    } else if (!m_permissions.hasScreenRecording()) {
        onboarding().show(true);
    }
}

void AppDelegate::recordEnvironment() {
    const QScreen* mainScreen = QGuiApplication::primaryScreen();
    m_improve.record("app.env", {{"cleanupEnabled", m_settings.value(Settings::cleanupEnabled)},
                                 {"detectQR", m_settings.value(Settings::detectQR)},
                                 {"keepHistory", m_settings.value(Settings::keepHistory)},
                                 {"displays", qint64(QGuiApplication::screens().size())},
                                 {"scale", mainScreen ? int(mainScreen->devicePixelRatio()) : 1}});
}

// The tray item is created here, first thing after the quit shortcut; what it asks for
// reaches the services through the root.
void AppDelegate::createStatusItem() {
    m_statusItem = std::make_unique<StatusItemController>(
        m_permissions, m_history, m_l10n, m_platform.clipboard(), m_toast, m_platform.desktop(),
        UpdaterController::feedConfigured());
    StatusItemController* item = m_statusItem.get();
    connect(item, &StatusItemController::captureRequested, &m_capture,
            &CaptureController::beginCapture);
    connect(item, &StatusItemController::settingsRequested, this,
            [this] { m_settingsWindow.show(); });
    connect(item, &StatusItemController::onboardingRequested, this,
            [this] { onboarding().show(false); });
    connect(item, &StatusItemController::updateCheckRequested, this, [this] {
        if (m_updater)
            m_updater->checkForUpdates();
    });
    connect(item, &StatusItemController::quitRequested, qApp, &QCoreApplication::quit,
            Qt::QueuedConnection);
}

// Qt's text fields already answer the standard editing keys (undo, redo, cut, copy, paste,
// select all) without a menu; what a tray application lacks is the quit shortcut.
void AppDelegate::installQuitShortcut() {
    qApp->installEventFilter(this);
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Quit) && !m_overlay.isOpen()) {
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
        m_capture.beginCapture(false);
        break;
    case AppCommand::Kind::CaptureHQ:
        m_capture.beginCapture(true);
        break;
    case AppCommand::Kind::Settings:
        m_settingsWindow.show(SettingsTabs::fromRawValue(command.argument));
        break;
    case AppCommand::Kind::SignIn:
        m_cloudAccount.signIn();
        break;
    case AppCommand::Kind::OpenUrl:
        handleUrl(command.argument);
        break;
    }
}

void AppDelegate::handleUrl(const QString& text) {
    if (text.isEmpty())
        return;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return;
    if (m_cloudAccount.handleCallback(url))
        m_settingsWindow.show(SettingsTab::Account);
}

void AppDelegate::applicationWillTerminate(bool finalUpload) {
    m_history.saveNow();
    m_keychain.flush(keyringFlushLimit);
    // What is not confirmed within the limit stays in the queue file for the next start.
    if (finalUpload)
        m_improve.flushNow(true);
    m_improve.waitForQueue();
}
