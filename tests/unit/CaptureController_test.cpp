#include "core/AppSettings.h"
#include "core/CapturePipeline.h"
#include "core/CloudAccount.h"
#include "core/CloudClient.h"
#include "core/CloudOCR.h"
#include "core/DebugLog.h"
#include "core/Defaults.h"
#include "core/ImproveReporter.h"
#include "core/Keychain.h"
#include "core/OCREngine.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "ui/CaptureController.h"
#include "ui/SelectionOverlayController.h"

#include "support/TestEnvironment.h"
#include "support/fakes/FakeClipboard.h"
#include "support/fakes/FakeClock.h"
#include "support/fakes/FakeLoginItem.h"
#include "support/fakes/FakePermissionAlert.h"
#include "support/fakes/FakeRecognition.h"
#include "support/fakes/FakeScreenGrabber.h"
#include "support/fakes/FakeScreenPermission.h"
#include "support/fakes/FakeSecretStore.h"
#include "support/fakes/FakeSound.h"
#include "support/fakes/FakeToaster.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QSemaphore>

#include <gtest/gtest.h>

#include "support/ScreenFrames.h"

namespace {

QString freshDir(const char* name) {
    const QString dir = TestEnvironment::home() + "/capture-" + name;
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    return dir;
}

// The capture as the application wires it, on fakes of the desktop and the recognisers.
class CapturePipelineTest : public ::testing::Test {
protected:
    CapturePipelineTest()
        : dir(freshDir("pipeline")), defaults(dir + "/defaults.json"), settings(defaults, login),
          history(settings, dir + "/history.json"), permissions(permission, defaults),
          languageStore(defaults), l10n(languageStore),
          engine(recognition.text, recognition.codes, recognition.tagger),
          cloudClient(network, QUrl("http://127.0.0.1:9/")), keychain(secrets),
          improve(settings, defaults, cloudClient, clock, dir + "/queue.jsonl"),
          account(keychain, cloudClient), cloud(keychain, cloudClient, account),
          pipeline(settings, defaults, permissions, history, clipboard, sound, engine, improve,
                   cloud),
          overlay(false), controller(pipeline, overlay, grabber, alert, toaster, l10n, settings) {
        grabber.frames = {solidFrame({0, 0, 800, 600}, Qt::white, 1.0)};
        QFile::remove(DebugLog::currentPath());
    }
    ~CapturePipelineTest() override {
        overlay.finish(std::nullopt);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void setResult(const QString& text, const QStringList& payloads = {}) {
        recognition.text.outcome = {true, text, {}};
        recognition.codes.observations.clear();
        for (const QString& payload : payloads)
            recognition.codes.observations.append({payload});
    }

    // One shortcut press and a finished drag; returns once the local pipeline has ended.
    void capture(QRectF rect) {
        controller.beginCapture(false);
        ASSERT_TRUE(overlay.isOpen());
        overlay.finish(rect);
        waitWhileCapturing();
    }

    void waitWhileCapturing() {
        QDeadlineTimer deadline(5000);
        while (controller.isCapturing() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QString dir;
    Defaults defaults;
    FakeLoginItem login;
    AppSettings settings;
    OCRHistoryStore history;
    FakeScreenPermission permission;
    Permissions permissions;
    DefaultsLanguageStore languageStore;
    L10n l10n;
    FakeRecognition recognition;
    OCREngine engine;
    FakeClipboard clipboard;
    FakeSound sound;
    QNetworkAccessManager network;
    CloudClient cloudClient;
    FakeSecretStore secrets;
    Keychain keychain;
    FakeClock clock;
    ImproveReporter improve;
    CloudAccount account;
    CloudOCR cloud;
    CapturePipeline pipeline;
    SelectionOverlayController overlay;
    FakeScreenGrabber grabber;
    FakePermissionAlert alert;
    FakeToaster toaster;
    CaptureController controller;
};

} // namespace

TEST(CaptureScreenshot, CentreScreenClipScaleAndFailures) {
    const QList<ScreenFrame> twoScreens = {solidFrame({0, 0, 960, 540}, Qt::red, 2.0),
                                           solidFrame({960, 0, 960, 540}, Qt::blue, 2.0)};
    // Starts on the first screen, centred on the second: cut from the second only, clipped.
    CapturePipeline::Screenshot shot =
        CapturePipeline::screenshot(twoScreens, QRectF(900, 100, 300, 100));
    ASSERT_FALSE(shot.image.isNull());
    EXPECT_EQ(shot.image.size(), QSize(480, 200));
    EXPECT_EQ(shot.image.pixelColor(0, 0), QColor(Qt::blue));

    // Backing scale 2: 300 x 100 points become 600 x 200 pixels.
    shot = CapturePipeline::screenshot(twoScreens, QRectF(10, 10, 300, 100));
    EXPECT_EQ(shot.image.size(), QSize(600, 200));
    EXPECT_EQ(shot.image.pixelColor(0, 0), QColor(Qt::red));

    // A centre on the seam belongs to the screen on its right.
    shot = CapturePipeline::screenshot(twoScreens, QRectF(940, 10, 40, 40));
    EXPECT_EQ(shot.image.size(), QSize(40, 80));
    EXPECT_EQ(shot.image.pixelColor(0, 0), QColor(Qt::blue));

    // A centre off every screen falls back to the first, where nothing overlaps.
    shot = CapturePipeline::screenshot(twoScreens, QRectF(3000, 3000, 50, 50));
    EXPECT_TRUE(shot.image.isNull());
    EXPECT_TRUE(shot.error.isEmpty());
    EXPECT_TRUE(CapturePipeline::screenshot({}, QRectF(0, 0, 50, 50)).image.isNull());

    ScreenFrame unreadable = solidFrame({0, 0, 100, 100}, Qt::white, 1.0);
    unreadable.image = QImage();
    unreadable.error = "BadMatch";
    shot = CapturePipeline::screenshot({unreadable}, QRectF(0, 0, 50, 50));
    EXPECT_TRUE(shot.image.isNull());
    EXPECT_EQ(shot.error, "BadMatch");
}

TEST(CaptureStatistics, ScaleAndLineCount) {
    EXPECT_EQ(CapturePipeline::scaleFor(600, 300), 2);
    EXPECT_EQ(CapturePipeline::scaleFor(30, 0), 1); // narrower than one point
    EXPECT_EQ(CapturePipeline::scaleFor(3, 2), 2);  // halves away from zero
    EXPECT_EQ(CapturePipeline::scaleFor(599, 400), 1);
    EXPECT_EQ(CapturePipeline::scaleFor(100, 400), 1); // never below 1

    EXPECT_EQ(CapturePipeline::lineCount(""), 0);
    EXPECT_EQ(CapturePipeline::lineCount("one\r\ntwo\r\n\r\nthree"), 3);
    EXPECT_EQ(CapturePipeline::lineCount(" \t\n a\u2028b\u2029\u0085c\r"), 3);
    EXPECT_EQ(CapturePipeline::lineCount("\u3000x\n\t \n"), 1);
}

TEST_F(CapturePipelineTest, TextWinsOverCodesAndEveryDeliveryStepRuns) {
    grabber.frames = {solidFrame({0, 0, 960, 540}, Qt::white, 2.0)};
    setResult("Hello, wörld 👍🏽", {"https://example.org"});
    capture(QRectF(100.7, 50, 300.9, 100.2));

    const QList<QImage> recognised = recognition.text.images();
    ASSERT_EQ(recognised.size(), 1);
    EXPECT_EQ(recognised.first().size(), QSize(601, 200));
    EXPECT_EQ(clipboard.content, "Hello, wörld 👍🏽");
    EXPECT_EQ(sound.played, QStringList{"screen-capture"});
    EXPECT_EQ(toaster.shown, QStringList{"Copied 14 characters"});
    ASSERT_EQ(history.items().size(), 1);
    EXPECT_EQ(history.items().first().text, clipboard.content);
    const QString log = DebugLog::tail();
    EXPECT_TRUE(log.contains(" Capture: 601x200px from 300x100pt\n")) << log.toStdString();
    EXPECT_TRUE(log.contains(" OCR: copied 14 chars, barcodes=1\n")) << log.toStdString();
    EXPECT_FALSE(controller.isCapturing());
    EXPECT_EQ(grabber.grabs, 1);
}

TEST_F(CapturePipelineTest, CodesOnlyNothingFoundAndToastsOff) {
    setResult("", {"first payload", "second payload"});
    capture(QRectF(10, 10, 100, 100));
    EXPECT_EQ(clipboard.content, "first payload\nsecond payload");
    EXPECT_EQ(toaster.shown, QStringList{"QR code copied"});
    EXPECT_TRUE(DebugLog::tail().contains("OCR: copied 28 chars, barcodes=2"));

    // Nothing found: the clipboard keeps its content, no sound, no entry, but a toast even
    // with toasts switched off.
    settings.set(Settings::showHUD, false);
    toaster.shown.clear();
    sound.played.clear();
    clipboard.content = "kept";
    setResult("");
    capture(QRectF(10, 10, 100, 100));
    EXPECT_EQ(clipboard.content, "kept");
    EXPECT_EQ(toaster.shown, QStringList{"No text found"});
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_EQ(history.items().size(), 1);

    // Toasts off hides the confirmation; sound off stays silent.
    settings.set(Settings::soundEnabled, false);
    toaster.shown.clear();
    setResult("text");
    capture(QRectF(10, 10, 100, 100));
    EXPECT_EQ(clipboard.content, "text");
    EXPECT_TRUE(toaster.shown.isEmpty());
    EXPECT_TRUE(sound.played.isEmpty());
}

TEST_F(CapturePipelineTest, TriggersWhileSelectingOrRecognisingAreIgnored) {
    QSemaphore hold;
    recognition.text.hold = &hold;
    setResult("late");
    controller.beginCapture(false);
    ASSERT_TRUE(overlay.isOpen());
    const int windows = overlay.windows().size();
    controller.beginCapture(true);
    EXPECT_EQ(overlay.windows().size(), windows);
    EXPECT_EQ(grabber.grabs, 1);

    overlay.finish(QRectF(0, 0, 50, 50));
    EXPECT_TRUE(controller.isCapturing());
    controller.beginCapture(false);
    EXPECT_FALSE(overlay.isOpen());
    EXPECT_EQ(grabber.grabs, 1);

    hold.release();
    waitWhileCapturing();
    EXPECT_FALSE(controller.isCapturing());
    EXPECT_EQ(clipboard.content, "late");

    // A cancelled selection changes nothing and the next trigger works.
    recognition.text.hold = nullptr;
    controller.beginCapture(false);
    overlay.finish(std::nullopt);
    EXPECT_EQ(recognition.text.images().size(), 1);
    EXPECT_FALSE(controller.isCapturing());
    controller.beginCapture(false);
    EXPECT_TRUE(overlay.isOpen());
}

TEST_F(CapturePipelineTest, FailuresEndTheCaptureWithALogLineAndAToast) {
    settings.set(Settings::showHUD, false);
    grabber.frames.first().image = QImage();
    grabber.frames.first().error = "The screen could not be read.";
    capture(QRectF(10, 10, 100, 100));
    EXPECT_TRUE(DebugLog::tail().contains(" Capture: failed: The screen could not be read.\n"));
    EXPECT_EQ(toaster.shown, QStringList{"Capture failed"});
    EXPECT_TRUE(recognition.text.images().isEmpty());
    EXPECT_FALSE(controller.isCapturing());

    toaster.shown.clear();
    grabber.frames = {solidFrame({0, 0, 800, 600}, Qt::white, 1.0)};
    capture(QRectF(900, 900, 100, 100));
    EXPECT_TRUE(DebugLog::tail().contains(" Capture: failed: no image\n"));
    EXPECT_EQ(toaster.shown, QStringList{"Capture failed"});
    EXPECT_EQ(clipboard.content, "previous");
}

TEST_F(CapturePipelineTest, TesterModeWritesTheDebugImageOnlyWhileOn) {
    const QString path = TestEnvironment::dataDir() + "/last-capture.png";
    QFile::remove(path);
    setResult("x");
    capture(QRectF(0, 0, 40, 30));
    EXPECT_FALSE(QFile::exists(path));

    defaults.setBool("testerModeEnabled", true);
    capture(QRectF(0, 0, 40, 30));
    QImage saved(path);
    EXPECT_EQ(saved.size(), QSize(40, 30));
    EXPECT_TRUE(DebugLog::tail().contains("Capture: saved debug image to " + path));
}

TEST_F(CapturePipelineTest, SettingsAreReadAtTheStartOfEachCapture) {
    setResult("  padded  ", {"code"});
    settings.set(Settings::detectQR, false);
    settings.set(Settings::cleanupEnabled, false);
    capture(QRectF(0, 0, 40, 30));
    EXPECT_EQ(clipboard.content, "  padded  ");
    EXPECT_EQ(recognition.codes.calls, 0);

    settings.set(Settings::detectQR, true);
    settings.set(Settings::cleanupEnabled, true);
    setResult("", {"code"});
    capture(QRectF(0, 0, 40, 30));
    EXPECT_EQ(clipboard.content, "code");
    setResult("  padded  ");
    capture(QRectF(0, 0, 40, 30));
    EXPECT_EQ(clipboard.content, "padded");
}

TEST_F(CapturePipelineTest, MissingPermissionPromptsOncePerRunAndAlertsEveryTime) {
    permission.granted = false;
    const double before = double(QDateTime::currentMSecsSinceEpoch()) / 1000.0 - 1;
    controller.beginCapture(false);
    controller.beginCapture(true);
    EXPECT_FALSE(overlay.isOpen());
    EXPECT_EQ(grabber.grabs, 0);
    EXPECT_EQ(permission.requests, 1);
    EXPECT_EQ(alert.presented, 2);
    EXPECT_TRUE(permissions.didPromptScreenRecording());
    EXPECT_GE(defaults.doubleValue("permissionFlowStartedAt").value_or(0), before);
}

// A desktop portal answers the grab later: triggers meanwhile are ignored, a refusal is the
// missing permission, a portal that never answered is a failed capture.
TEST_F(CapturePipelineTest, ADesktopThatAnswersLaterRefusesFailsOrFreezesTheScreens) {
    using Grab = ScreenGrabber::Grab;
    grabber.answersLater = true;
    controller.beginCapture(false);
    controller.beginCapture(true);
    EXPECT_EQ(grabber.grabs, 1);
    EXPECT_FALSE(overlay.isOpen());

    ASSERT_TRUE(grabber.answer({Grab::Outcome::Refused, {}, "the desktop refused the screenshot"}));
    EXPECT_FALSE(overlay.isOpen());
    EXPECT_EQ(alert.presented, 1);
    EXPECT_EQ(permission.requests, 1);
    EXPECT_TRUE(
        DebugLog::tail().contains(" Capture: refused: the desktop refused the screenshot\n"));
    EXPECT_TRUE(toaster.shown.isEmpty());

    controller.beginCapture(false);
    ASSERT_TRUE(grabber.answer({Grab::Outcome::Failed, {}, "no answer within 10 s"}));
    EXPECT_FALSE(overlay.isOpen());
    EXPECT_EQ(alert.presented, 1);
    EXPECT_TRUE(DebugLog::tail().contains(" Capture: failed: no answer within 10 s\n"));
    EXPECT_EQ(toaster.shown, QStringList{"Capture failed"});

    setResult("frozen");
    controller.beginCapture(false);
    ASSERT_TRUE(grabber.answer({Grab::Outcome::Taken, grabber.frames, {}}));
    ASSERT_TRUE(overlay.isOpen());
    overlay.finish(QRectF(0, 0, 40, 30));
    waitWhileCapturing();
    EXPECT_EQ(clipboard.content, "frozen");
    EXPECT_EQ(grabber.grabs, 3);
}

TEST(Permissions, FlowTimeIsRecordedOnlyWhileMissingAndConsumedOnce) {
    FakeScreenPermission permission;
    Defaults defaults(freshDir("permissions") + "/defaults.json");
    Permissions permissions(permission, defaults);

    // Granted: nothing is written, the settings still open.
    permissions.requestScreenRecording();
    permissions.openScreenRecordingSettings();
    EXPECT_FALSE(defaults.contains("permissionFlowStartedAt"));
    EXPECT_EQ(permission.opened, 1);
    EXPECT_FALSE(permissions.consumePendingPermissionRelaunch());

    const double now = double(QDateTime::currentSecsSinceEpoch());
    defaults.setDouble("permissionFlowStartedAt", now - 29 * 60);
    EXPECT_TRUE(permissions.consumePendingPermissionRelaunch());
    EXPECT_FALSE(defaults.contains("permissionFlowStartedAt"));
    EXPECT_FALSE(permissions.consumePendingPermissionRelaunch());

    defaults.setDouble("permissionFlowStartedAt", now - 31 * 60);
    EXPECT_FALSE(permissions.consumePendingPermissionRelaunch());
    EXPECT_FALSE(defaults.contains("permissionFlowStartedAt"));

    // A time in the future still counts as a recent flow.
    defaults.setDouble("permissionFlowStartedAt", now + 600);
    EXPECT_TRUE(permissions.consumePendingPermissionRelaunch());

    permission.granted = false;
    permissions.openScreenRecordingSettings();
    EXPECT_TRUE(defaults.contains("permissionFlowStartedAt"));
    // The one prompt of this run went out with the first request, granted or not.
    permissions.requestScreenRecording();
    EXPECT_EQ(permission.requests, 1);
}
