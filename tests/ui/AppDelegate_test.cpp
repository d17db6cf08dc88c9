#include "app/AppDelegate.h"
#include "core/Defaults.h"
#include "ui/SelectionOverlayWindow.h"

#include "support/TestEnvironment.h"
#include "support/fakes/FakeCrashCatcher.h"
#include "support/fakes/FakePlatform.h"
#include "support/fakes/FakeProcessLog.h"
#include "support/fakes/FakeRecognition.h"
#include "support/fakes/FakeSecretStore.h"

#include <QApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QFile>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include "support/ScreenFrames.h"

namespace {

QList<SelectionOverlayWindow*> overlayWindows() {
    QList<SelectionOverlayWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<SelectionOverlayWindow*>(widget);
            window && window->isVisible())
            windows.append(window);
    }
    return windows;
}

void cancelOverlay() {
    for (SelectionOverlayWindow* window : overlayWindows()) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window, &escape);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(AppDelegate, StartUpWiresShortcutsToQueuedCapturesAndConsumesThePermissionFlow) {
    const QString path = TestEnvironment::home() + "/delegate-defaults.json";
    QFile::remove(path);
    Defaults defaults(path);
    defaults.setBool("onboardingCompleted", true);
    defaults.setDouble("permissionFlowStartedAt", double(QDateTime::currentSecsSinceEpoch() - 60));
    FakePlatform platform;
    platform.grabber.frames = {solidFrame({0, 0, 320, 200}, Qt::gray)};
    FakeRecognition recognition;
    FakeSecretStore secrets;
    FakeCrashCatcher crashes;
    FakeProcessLog processLog;

    AppDelegate delegate(platform, recognition, secrets, defaults, crashes, processLog);
    delegate.applicationDidFinishLaunching();
    EXPECT_FALSE(defaults.contains("permissionFlowStartedAt"));
    EXPECT_EQ(platform.hotKeyService.active, (QSet<quint32>{1, 2}));

    // The shortcut handler only schedules the capture.
    platform.hotKeyService.press(1);
    EXPECT_TRUE(overlayWindows().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(overlayWindows().size(), 1);
    cancelOverlay();
    EXPECT_TRUE(overlayWindows().isEmpty());

    // A command from another process opens the selection at once.
    delegate.handleCommand(AppCommand{AppCommand::Kind::Capture, {}});
    EXPECT_EQ(overlayWindows().size(), 1);
    cancelOverlay();
}

TEST(AppDelegate, StartUpHandsEarlierCrashesOverAndStartsTheReporters) {
    const QString path = TestEnvironment::home() + "/delegate-reporters.json";
    QFile::remove(path);
    QFile::remove(TestEnvironment::dataDir() + "/improve-queue.jsonl");
    Defaults defaults(path);
    defaults.setBool("onboardingCompleted", true);
    defaults.setBool("crashReportingEnabled", false); // nothing leaves the test
    FakePlatform platform;
    FakeRecognition recognition;
    FakeSecretStore secrets;
    FakeCrashCatcher crashes;
    crashes.pending = {CrashDiagnostic{}};
    FakeProcessLog processLog;

    AppDelegate delegate(platform, recognition, secrets, defaults, crashes, processLog);
    EXPECT_EQ(crashes.pending.size(), 1); // building the graph starts nothing
    delegate.applicationDidFinishLaunching();
    EXPECT_TRUE(crashes.pending.isEmpty());
    EXPECT_TRUE(processLog.capturing);
    EXPECT_FALSE(defaults.contains("testerModeEnabled")); // off, and not written at start
    // The start-up event is queued (the reporter's own thread writes it: the file may exist
    // a moment before the line is in it).
    auto queued = [] {
        return TestEnvironment::readFile(TestEnvironment::dataDir() + "/improve-queue.jsonl")
            .contains("\"n\":\"app.env\"");
    };
    QDeadlineTimer deadline(5000);
    while (!queued() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(queued());
}

// Stands in for the default browser, which the sign-in command opens.
class SignInBrowser : public QObject {
    Q_OBJECT
public:
    SignInBrowser() {
        for (const char* scheme : {"http", "https"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~SignInBrowser() override {
        for (const char* scheme : {"http", "https"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

TEST(AppDelegate, OnlyTheSignInsOwnCallbackOpensTheAccountTab) {
    // Nothing listens there: the code exchange fails at once, without leaving this machine
    // (when this test has its process to itself, as under ctest).
    qputenv("GLINTEXT_SERVICE_URL", "http://127.0.0.1:1");
    Defaults defaults(TestEnvironment::home() + "/delegate-url-defaults.json");
    FakePlatform platform;
    FakeRecognition recognition;
    FakeSecretStore secrets;
    FakeCrashCatcher crashes;
    FakeProcessLog processLog;
    AppDelegate delegate(platform, recognition, secrets, defaults, crashes, processLog);
    SignInBrowser browser;
    QSignalSpy shown(&delegate.settingsWindow(), &SettingsWindowController::shown);

    delegate.handleCommand(AppCommand{AppCommand::Kind::SignIn, {}});
    ASSERT_EQ(browser.opened.size(), 1);
    const QUrl page = browser.opened[0];
    EXPECT_EQ(page.path(), "/app/connect");
    const QString state = QUrlQuery(page).queryItemValue("state");

    for (const QString& other : QStringList{
             "glintext://auth?code=c&state=wrong", "glintext://settings?code=c&state=" + state,
             "glintext://auth?state=" + state, "not a url", QString()})
        delegate.handleCommand(AppCommand{AppCommand::Kind::OpenUrl, other});
    EXPECT_TRUE(shown.isEmpty());

    delegate.handleCommand(
        AppCommand{AppCommand::Kind::OpenUrl, "glintext://auth?state=" + state + "&code=c"});
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0][0].value<SettingsTab>(), SettingsTab::Account);
    // Accepted once: the same address again is ignored.
    delegate.handleCommand(
        AppCommand{AppCommand::Kind::OpenUrl, "glintext://auth?state=" + state + "&code=c"});
    EXPECT_EQ(shown.size(), 1);
}

#include "AppDelegate_test.moc"
