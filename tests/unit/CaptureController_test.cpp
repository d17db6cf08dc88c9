#include "core/AppSettings.h"
#include "core/CaptureController.h"
#include "core/DebugLog.h"
#include "core/Defaults.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "platform/ClipboardService.h"
#include "platform/ScreenPermission.h"
#include "platform/SoundService.h"
#include "ui/SelectionOverlayController.h"

#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QCoro/QCoroSignal>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>

#include <gtest/gtest.h>

#include "support/ScreenFrames.h"

namespace {

class FakeGrabber : public ScreenGrabber {
public:
    QList<ScreenFrame> grabScreens() override {
        ++grabs;
        return frames;
    }
    QList<ScreenFrame> frames;
    int grabs = 0;
};

class FakeClipboard : public ClipboardService {
public:
    void setText(const QString& text) override { content = text; }
    QString text() override { return content; }
    QString content = "previous";
};

class FakeSound : public SoundService {
public:
    void play(const QString& eventId) override { played.append(eventId); }
    QStringList played;
};

class FakePermission : public ScreenPermission {
public:
    bool hasAccess() override { return granted; }
    void requestAccess() override { ++requests; }
    void openSettings() override { ++opened; }
    bool granted = true;
    int requests = 0;
    int opened = 0;
};

// Opens a gate the fake recognizer waits on, to hold a capture in "recognising".
class Gate : public QObject {
    Q_OBJECT
Q_SIGNALS:
    void opened();
};

class CapturePipeline : public ::testing::Test {
protected:
    void SetUp() override {
        grabber.frames = {solidFrame({0, 0, 800, 600}, Qt::white, 1.0)};
        CaptureController& c = controller();
        c.setScreenGrabber(&grabber);
        c.setClipboard(&clipboard);
        c.setSound(&sound);
        c.setToaster([this](const QString& text) { toasts.append(text); });
        c.setPermissionAlert([this] { ++alerts; });
        c.setRecognizer([this](QImage image) -> QCoro::Task<OCRResult> {
            recognised.append(image);
            if (holdRecognition)
                co_await qCoro(&gate, &Gate::opened);
            co_return nextResult;
        });
        Permissions::setServiceForTesting(&permission);
        Permissions::resetPromptForTesting();
        Defaults::standard().remove("permissionFlowStartedAt");
        Defaults::standard().remove("testerModeEnabled");
        AppSettings::shared().setShowHUD(true);
        AppSettings::shared().setSoundEnabled(true);
        AppSettings::shared().setKeepHistory(true);
        OCRHistoryStore::shared().setItems({});
        QFile::remove(DebugLog::currentPath());
    }
    void TearDown() override {
        SelectionOverlayController::shared().finish(std::nullopt);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Permissions::setServiceForTesting(nullptr);
    }
    static CaptureController& controller() { return CaptureController::shared(); }

    // One shortcut press and a finished drag.
    void capture(QRectF rect) {
        controller().beginCapture(false);
        ASSERT_TRUE(SelectionOverlayController::shared().isOpen());
        SelectionOverlayController::shared().finish(rect);
    }

    FakeGrabber grabber;
    FakeClipboard clipboard;
    FakeSound sound;
    FakePermission permission;
    Gate gate;
    bool holdRecognition = false;
    OCRResult nextResult;
    QList<QImage> recognised;
    QStringList toasts;
    int alerts = 0;
};

} // namespace

TEST(CaptureScreenshot, CentreScreenClipScaleAndFailures) {
    const QList<ScreenFrame> twoScreens = {solidFrame({0, 0, 960, 540}, Qt::red, 2.0),
                                           solidFrame({960, 0, 960, 540}, Qt::blue, 2.0)};
    // Starts on the first screen, centred on the second: cut from the second only, clipped.
    CaptureController::Screenshot shot =
        CaptureController::screenshot(twoScreens, QRectF(900, 100, 300, 100));
    ASSERT_FALSE(shot.image.isNull());
    EXPECT_EQ(shot.image.size(), QSize(480, 200));
    EXPECT_EQ(shot.image.pixelColor(0, 0), QColor(Qt::blue));

    // Backing scale 2: 300 x 100 points become 600 x 200 pixels.
    shot = CaptureController::screenshot(twoScreens, QRectF(10, 10, 300, 100));
    EXPECT_EQ(shot.image.size(), QSize(600, 200));
    EXPECT_EQ(shot.image.pixelColor(0, 0), QColor(Qt::red));

    // A centre on the seam belongs to the screen on its right.
    shot = CaptureController::screenshot(twoScreens, QRectF(940, 10, 40, 40));
    EXPECT_EQ(shot.image.size(), QSize(40, 80));
    EXPECT_EQ(shot.image.pixelColor(0, 0), QColor(Qt::blue));

    // A centre off every screen falls back to the first, where nothing overlaps.
    shot = CaptureController::screenshot(twoScreens, QRectF(3000, 3000, 50, 50));
    EXPECT_TRUE(shot.image.isNull());
    EXPECT_TRUE(shot.error.isEmpty());
    EXPECT_TRUE(CaptureController::screenshot({}, QRectF(0, 0, 50, 50)).image.isNull());

    ScreenFrame unreadable = solidFrame({0, 0, 100, 100}, Qt::white, 1.0);
    unreadable.image = QImage();
    unreadable.error = "BadMatch";
    shot = CaptureController::screenshot({unreadable}, QRectF(0, 0, 50, 50));
    EXPECT_TRUE(shot.image.isNull());
    EXPECT_EQ(shot.error, "BadMatch");
}

TEST(CaptureStatistics, ScaleAndLineCount) {
    EXPECT_EQ(CaptureController::scaleFor(600, 300), 2);
    EXPECT_EQ(CaptureController::scaleFor(30, 0), 1); // narrower than one point
    EXPECT_EQ(CaptureController::scaleFor(3, 2), 2);  // halves away from zero
    EXPECT_EQ(CaptureController::scaleFor(599, 400), 1);
    EXPECT_EQ(CaptureController::scaleFor(100, 400), 1); // never below 1

    EXPECT_EQ(CaptureController::lineCount(""), 0);
    EXPECT_EQ(CaptureController::lineCount("one\r\ntwo\r\n\r\nthree"), 3);
    EXPECT_EQ(CaptureController::lineCount(" \t\n a\u2028b\u2029\u0085c\r"), 3);
    EXPECT_EQ(CaptureController::lineCount("\u3000x\n\t \n"), 1);
}

TEST_F(CapturePipeline, TextWinsOverCodesAndEveryDeliveryStepRuns) {
    grabber.frames = {solidFrame({0, 0, 960, 540}, Qt::white, 2.0)};
    nextResult = {"Hello, wörld 👍🏽", {"https://example.org"}, false};
    capture(QRectF(100.7, 50, 300.9, 100.2));

    ASSERT_EQ(recognised.size(), 1);
    EXPECT_EQ(recognised.first().size(), QSize(601, 200));
    EXPECT_EQ(clipboard.content, "Hello, wörld 👍🏽");
    EXPECT_EQ(sound.played, QStringList{"screen-capture"});
    EXPECT_EQ(toasts, QStringList{"Copied 14 characters"});
    ASSERT_EQ(OCRHistoryStore::shared().items().size(), 1);
    EXPECT_EQ(OCRHistoryStore::shared().items().first().text, clipboard.content);
    const QString log = DebugLog::tail();
    EXPECT_TRUE(log.contains(" Capture: 601x200px from 300x100pt\n")) << log.toStdString();
    EXPECT_TRUE(log.contains(" OCR: copied 14 chars, barcodes=1\n")) << log.toStdString();
    EXPECT_FALSE(controller().isCapturing());
    EXPECT_EQ(grabber.grabs, 1);
}

TEST_F(CapturePipeline, CodesOnlyNothingFoundAndToastsOff) {
    nextResult = {"", {"first payload", "second payload"}, false};
    capture(QRectF(10, 10, 100, 100));
    EXPECT_EQ(clipboard.content, "first payload\nsecond payload");
    EXPECT_EQ(toasts, QStringList{"QR code copied"});
    EXPECT_TRUE(DebugLog::tail().contains("OCR: copied 28 chars, barcodes=2"));

    // Nothing found: the clipboard keeps its content, no sound, no entry, but a toast even
    // with toasts switched off.
    AppSettings::shared().setShowHUD(false);
    toasts.clear();
    sound.played.clear();
    clipboard.content = "kept";
    nextResult = {};
    capture(QRectF(10, 10, 100, 100));
    EXPECT_EQ(clipboard.content, "kept");
    EXPECT_EQ(toasts, QStringList{"No text found"});
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_EQ(OCRHistoryStore::shared().items().size(), 1);

    // Toasts off hides the confirmation; sound off stays silent.
    AppSettings::shared().setSoundEnabled(false);
    toasts.clear();
    nextResult = {"text", {}, false};
    capture(QRectF(10, 10, 100, 100));
    EXPECT_EQ(clipboard.content, "text");
    EXPECT_TRUE(toasts.isEmpty());
    EXPECT_TRUE(sound.played.isEmpty());
}

TEST_F(CapturePipeline, TriggersWhileSelectingOrRecognisingAreIgnored) {
    holdRecognition = true;
    nextResult = {"late", {}, false};
    controller().beginCapture(false);
    ASSERT_TRUE(SelectionOverlayController::shared().isOpen());
    const int windows = SelectionOverlayController::shared().windows().size();
    controller().beginCapture(true);
    EXPECT_EQ(SelectionOverlayController::shared().windows().size(), windows);
    EXPECT_EQ(grabber.grabs, 1);

    SelectionOverlayController::shared().finish(QRectF(0, 0, 50, 50));
    EXPECT_TRUE(controller().isCapturing());
    controller().beginCapture(false);
    EXPECT_FALSE(SelectionOverlayController::shared().isOpen());
    EXPECT_EQ(grabber.grabs, 1);

    Q_EMIT gate.opened();
    QDeadlineTimer deadline(5000);
    while (controller().isCapturing() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(controller().isCapturing());
    EXPECT_EQ(clipboard.content, "late");

    // A cancelled selection changes nothing and the next trigger works.
    holdRecognition = false;
    controller().beginCapture(false);
    SelectionOverlayController::shared().finish(std::nullopt);
    EXPECT_EQ(recognised.size(), 1);
    EXPECT_FALSE(controller().isCapturing());
    controller().beginCapture(false);
    EXPECT_TRUE(SelectionOverlayController::shared().isOpen());
}

TEST_F(CapturePipeline, FailuresEndTheCaptureWithALogLineAndAToast) {
    AppSettings::shared().setShowHUD(false);
    grabber.frames.first().image = QImage();
    grabber.frames.first().error = "The screen could not be read.";
    capture(QRectF(10, 10, 100, 100));
    EXPECT_TRUE(DebugLog::tail().contains(" Capture: failed: The screen could not be read.\n"));
    EXPECT_EQ(toasts, QStringList{"Capture failed"});
    EXPECT_TRUE(recognised.isEmpty());
    EXPECT_FALSE(controller().isCapturing());

    toasts.clear();
    grabber.frames = {solidFrame({0, 0, 800, 600}, Qt::white, 1.0)};
    capture(QRectF(900, 900, 100, 100));
    EXPECT_TRUE(DebugLog::tail().contains(" Capture: failed: no image\n"));
    EXPECT_EQ(toasts, QStringList{"Capture failed"});
    EXPECT_EQ(clipboard.content, "previous");
}

TEST_F(CapturePipeline, TesterModeWritesTheDebugImageOnlyWhileOn) {
    const QString path = TestEnvironment::dataDir() + "/last-capture.png";
    QFile::remove(path);
    nextResult = {"x", {}, false};
    capture(QRectF(0, 0, 40, 30));
    EXPECT_FALSE(QFile::exists(path));

    Defaults::standard().setBool("testerModeEnabled", true);
    capture(QRectF(0, 0, 40, 30));
    QImage saved(path);
    EXPECT_EQ(saved.size(), QSize(40, 30));
    EXPECT_TRUE(DebugLog::tail().contains("Capture: saved debug image to " + path));
}

TEST_F(CapturePipeline, MissingPermissionPromptsOncePerRunAndAlertsEveryTime) {
    permission.granted = false;
    const double before = double(QDateTime::currentMSecsSinceEpoch()) / 1000.0 - 1;
    controller().beginCapture(false);
    controller().beginCapture(true);
    EXPECT_FALSE(SelectionOverlayController::shared().isOpen());
    EXPECT_EQ(grabber.grabs, 0);
    EXPECT_EQ(permission.requests, 1);
    EXPECT_EQ(alerts, 2);
    EXPECT_TRUE(Permissions::didPromptScreenRecording());
    EXPECT_GE(Defaults::standard().doubleValue("permissionFlowStartedAt").value_or(0), before);
}

TEST(Permissions, FlowTimeIsRecordedOnlyWhileMissingAndConsumedOnce) {
    FakePermission permission;
    Permissions::setServiceForTesting(&permission);
    Permissions::resetPromptForTesting();
    Defaults& defaults = Defaults::standard();
    defaults.remove("permissionFlowStartedAt");

    // Granted: nothing is written, the settings still open.
    Permissions::requestScreenRecording();
    Permissions::openScreenRecordingSettings();
    EXPECT_FALSE(defaults.contains("permissionFlowStartedAt"));
    EXPECT_EQ(permission.opened, 1);
    EXPECT_FALSE(Permissions::consumePendingPermissionRelaunch());

    const double now = double(QDateTime::currentSecsSinceEpoch());
    defaults.setDouble("permissionFlowStartedAt", now - 29 * 60);
    EXPECT_TRUE(Permissions::consumePendingPermissionRelaunch());
    EXPECT_FALSE(defaults.contains("permissionFlowStartedAt"));
    EXPECT_FALSE(Permissions::consumePendingPermissionRelaunch());

    defaults.setDouble("permissionFlowStartedAt", now - 31 * 60);
    EXPECT_FALSE(Permissions::consumePendingPermissionRelaunch());
    EXPECT_FALSE(defaults.contains("permissionFlowStartedAt"));

    // A time in the future still counts as a recent flow.
    defaults.setDouble("permissionFlowStartedAt", now + 600);
    EXPECT_TRUE(Permissions::consumePendingPermissionRelaunch());

    permission.granted = false;
    Permissions::openScreenRecordingSettings();
    EXPECT_TRUE(defaults.contains("permissionFlowStartedAt"));
    // The one prompt of this run went out with the first request, granted or not.
    Permissions::requestScreenRecording();
    EXPECT_EQ(permission.requests, 1);
    Permissions::setServiceForTesting(nullptr);
}

#include "CaptureController_test.moc"
