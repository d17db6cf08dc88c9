// High-accuracy captures end to end below the windows: the local delivery, then the cloud's
// reading from the reference service replacing it (or not) on the clipboard and in the
// history, with the toasts the user sees.
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

#include "support/ReferenceService.h"
#include "support/ScreenFrames.h"
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

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Kind = CloudOCR::Outcome::Kind;

namespace {

QString freshDir(const char* name) {
    const QString dir = TestEnvironment::home() + "/refine-" + name;
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    return dir;
}

// The capture as the application wires it: fakes of the desktop and the recognisers, the
// real cloud reader against the reference service, signed in.
class RefinementTest : public testing::Test {
protected:
    RefinementTest()
        : dir(freshDir("flow")), defaults(dir + "/defaults.json"), settings(defaults, login),
          history(settings, dir + "/history.json"), permissions(permission, defaults),
          languageStore(defaults), l10n(languageStore),
          engine(recognition.text, recognition.codes, recognition.tagger),
          cloudClient(network, service.baseUrl()), keychain(secrets),
          improve(settings, defaults, cloudClient, clock, dir + "/queue.jsonl"),
          account(keychain, cloudClient), cloud(keychain, cloudClient, account, 5s),
          pipeline(settings, defaults, permissions, history, clipboard, sound, engine, improve,
                   cloud),
          overlay(false), controller(pipeline, overlay, grabber, alert, toaster, l10n, settings) {
        grabber.frames = {solidFrame({0, 0, 800, 600}, Qt::white, 1.0)};
    }
    ~RefinementTest() override {
        overlay.finish(std::nullopt);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void SetUp() override {
        ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();
        QFile::remove(DebugLog::currentPath());
        secrets.items.insert(CloudAccount::tokenItem,
                             service.createAccount("hq@example.org").token.toUtf8());
        improve.setTokenProvider([this] { return keychain.get(CloudAccount::tokenItem); });
    }

    void setLocal(const QString& text, const QStringList& payloads = {}) {
        recognition.text.outcome = {true, text, {}};
        recognition.codes.observations.clear();
        for (const QString& payload : payloads)
            recognition.codes.observations.append({payload});
    }
    void cloudAnswers(const QString& text, int delayMs = 0) {
        service.queueAnswer("/api/ocr", 200, QJsonObject{{"text", text}}, delayMs);
    }

    // A high-accuracy shortcut and a finished drag; returns once the local result is out.
    void captureHQ() {
        QSignalSpy local(&controller, &CaptureController::captureFinished);
        controller.beginCapture(true);
        ASSERT_TRUE(overlay.isOpen());
        overlay.finish(QRectF(10, 10, 200, 100));
        // The local pipeline may finish inside finish() when recognition is quick.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !local.isEmpty(); }, 5000));
    }
    // Until `count` refinements (counted from the fixture's start) have finished.
    void waitForRefinements(int count = 1) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return refined.size() >= count; }, 10000));
    }

    ReferenceService service;
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
    QSignalSpy refined{&controller, &CaptureController::refinementFinished};
};

} // namespace

TEST_F(RefinementTest, AnAcceptedReadingReplacesTheLocalResultEverywhere) {
    setLocal("left one right one");
    cloudAnswers("left one\nright one");
    captureHQ();
    ASSERT_EQ(history.items().size(), 1);
    const QUuid id = history.items().first().id;
    waitForRefinements();

    EXPECT_EQ(clipboard.content, "left one\nright one");
    ASSERT_EQ(history.items().size(), 1);
    EXPECT_EQ(history.items().first().id, id);
    EXPECT_EQ(history.items().first().text, "left one\nright one");
    EXPECT_EQ(toaster.shown, (QStringList{"Copied 18 characters", "Refining with high accuracy…",
                                          "High-accuracy result: 18 characters"}));
    EXPECT_EQ(sound.played.size(), 1); // for the local delivery only
    const QString log = DebugLog::tail();
    EXPECT_TRUE(log.contains(" CloudOCR: requesting (local 18 chars)\n")) << log.toStdString();
    EXPECT_TRUE(log.contains(" CloudOCR: refined 18 chars\n")) << log.toStdString();
    EXPECT_EQ(service.received("/api/ocr").value(0).value("json").toObject().value("transcript"),
              "left one right one");
    // The pair of readings goes to the service as one sample of the signed-in account.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !service.received("/api/improve/sample").isEmpty(); }, 10000));
    const QJsonObject sample = service.received("/api/improve/sample").value(0);
    EXPECT_EQ(sample.value("status"), 200);
    EXPECT_EQ(sample.value("json").toObject().value("cloudText"), "left one\nright one");
    EXPECT_EQ(sample.value("json").toObject().value("accepted"), true);
}

TEST_F(RefinementTest, WhatTheUserCopiedMeanwhileStaysOnTheClipboard) {
    setLocal("alpha beta");
    cloudAnswers("beta alpha", 800);
    captureHQ();
    clipboard.content = "the user's own copy";
    waitForRefinements();

    EXPECT_EQ(clipboard.content, "the user's own copy");
    EXPECT_EQ(history.items().value(0).text, "beta alpha");
    EXPECT_EQ(toaster.shown.last(), "High-accuracy result: 10 characters");

    // A clipboard without text is left alone as well.
    cloudAnswers("beta alpha", 800);
    captureHQ();
    clipboard.content.clear();
    waitForRefinements(2);
    EXPECT_TRUE(clipboard.content.isEmpty());
}

TEST_F(RefinementTest, RefinementsInFlightTogetherEachKeepToTheirOwnCapture) {
    setLocal("first local");
    cloudAnswers("local first", 1500);
    captureHQ();
    setLocal("second local");
    cloudAnswers("local second");
    captureHQ();
    waitForRefinements(2);

    ASSERT_EQ(history.items().size(), 2);
    EXPECT_EQ(history.items().value(0).text, "local second");
    EXPECT_EQ(history.items().value(1).text, "local first");
    // The late first answer found the second capture's reading on the clipboard.
    EXPECT_EQ(clipboard.content, "local second");
}

TEST_F(RefinementTest, HistoryOffStoresNothingAndToastsOffHideOnlyConfirmations) {
    settings.set(Settings::keepHistory, false);
    settings.set(Settings::showHUD, false);
    setLocal("gamma delta");
    cloudAnswers("delta gamma");
    captureHQ();
    waitForRefinements();
    EXPECT_TRUE(history.items().isEmpty());
    EXPECT_EQ(clipboard.content, "delta gamma");
    EXPECT_TRUE(toaster.shown.isEmpty());

    // Every outcome that keeps the local result says so, toasts off or not.
    service.queueAnswer("/api/ocr", 429, QJsonObject{{"error", "quota_exceeded"}});
    captureHQ();
    waitForRefinements(2);
    service.queueAnswer("/api/ocr", 500, QJsonObject{{"error", "boom"}});
    captureHQ();
    waitForRefinements(3);
    cloudAnswers("zzzz zzzz");
    captureHQ();
    waitForRefinements(4);
    secrets.items.remove(CloudAccount::tokenItem);
    captureHQ();
    waitForRefinements(5);
    EXPECT_EQ(toaster.shown,
              (QStringList{"Daily high-accuracy limit reached — kept the on-device result",
                           "High accuracy unavailable — kept the on-device result",
                           "Text too small to read — zoom in and capture again",
                           l10n.string("toast.hqSignIn")}));
    EXPECT_TRUE(l10n.string("toast.hqSignIn").contains("127.0.0.1"));
    EXPECT_EQ(clipboard.content, "gamma delta");
    const QString log = DebugLog::tail();
    for (const char* line :
         {"CloudOCR: daily quota exceeded", "CloudOCR: request failed",
          "CloudOCR: rejected by coverage guard (low-res suspicion)", "CloudOCR: not signed in"})
        EXPECT_TRUE(log.contains(line)) << line;
}

TEST_F(RefinementTest, NothingOrOnlyCodesFoundLocallyCannotBeReplaced) {
    clipboard.content = "untouched";
    setLocal("");
    cloudAnswers("Some text the device missed");
    captureHQ();
    waitForRefinements();
    EXPECT_EQ(clipboard.content, "untouched");
    EXPECT_FALSE(
        service.received("/api/ocr").value(0).value("json").toObject().contains("transcript"));
    EXPECT_EQ(toaster.shown, (QStringList{"No text found", "Refining with high accuracy…",
                                          "Text too small to read — zoom in and capture again"}));

    // The codes are not a transcript: the cloud's text has nothing to be checked against.
    setLocal("", {"https://example.org/a", "PAYLOAD-2"});
    cloudAnswers("https://example.org/a");
    captureHQ();
    waitForRefinements(2);
    EXPECT_EQ(clipboard.content, "https://example.org/a\nPAYLOAD-2");
    EXPECT_EQ(history.items().value(0).text, "https://example.org/a\nPAYLOAD-2");
    EXPECT_FALSE(
        service.received("/api/ocr").value(1).value("json").toObject().contains("transcript"));
}

TEST_F(RefinementTest, StatisticsDescribeTheCloudReading) {
    recognition.tagger.answer = QString("en");
    CapturePipeline::Context context;
    context.result = {"local words", {"QR"}, false};
    context.regionW = 300;
    context.regionH = 120;
    context.scale = 2;
    const CloudOCR::Outcome rejected{Kind::CoverageRejected, "cloud\nwords", 0.665};
    const QVariantMap event = pipeline.cloudResultEvent(context, rejected, 812);
    EXPECT_EQ(event, (QVariantMap{{"engine", "cloud"},
                                  {"chars", 11},
                                  {"lines", 2},
                                  {"vertical", false},
                                  {"ms", 812},
                                  {"regionW", 300},
                                  {"regionH", 120},
                                  {"scale", 2},
                                  {"qr", true},
                                  {"lowResRejected", true},
                                  {"coverage", 67},
                                  {"langHint", "en"}}));
    const CloudOCR::Outcome accepted{Kind::Refined, "cloud words", 1.0};
    EXPECT_EQ(pipeline.sample(context, accepted), (QVariantMap{{"localText", "local words"},
                                                               {"cloudText", "cloud words"},
                                                               {"vertical", false},
                                                               {"regionW", 300},
                                                               {"regionH", 120},
                                                               {"scale", 2},
                                                               {"coverage", 100},
                                                               {"accepted", true},
                                                               {"langHint", "en"}}));
    recognition.tagger.answer.reset();
    EXPECT_FALSE(pipeline.sample(context, accepted).contains("langHint"));
}
