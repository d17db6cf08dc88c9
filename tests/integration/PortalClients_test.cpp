// The desktop-portal clients against a portal on a real session bus (FakePortal answers as
// xdg-desktop-portal does: a Request handle, then a Response signal).
#include "platform/wayland/PortalGlobalShortcuts.h"
#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/PortalScreenGrabber.h"
#include "platform/wayland/PortalScreenPermission.h"
#include "platform/wayland/PortalScreenshot.h"
#include "platform/wayland/PortalShortcut.h"
#include "support/FakePortal.h"

#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

namespace {

using Answer = FakePortal::Answer;
using Status = PortalRequest::Response::Status;
const QString screenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

class PortalTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no session bus";
        portal.emplace();
        ASSERT_TRUE(portal->isValid());
    }
    std::optional<FakePortal> portal;
};

std::optional<PortalRequest::Response> run(FakePortal& portal, int timeoutMs = 2000) {
    auto* request =
        new PortalRequest(QDBusConnection::sessionBus(), portal.service(), screenshotInterface,
                          "Screenshot", {QString()}, {{"interactive", false}}, timeoutMs);
    std::optional<PortalRequest::Response> response;
    QObject::connect(request, &PortalRequest::finished,
                     [&response](const PortalRequest::Response& r) { response = r; });
    request->start();
    EXPECT_FALSE(response) << "finished() came from inside start()";
    (void)QTest::qWaitFor([&] { return response.has_value(); }, timeoutMs + 3000);
    return response;
}

QString pictureFile(const QTemporaryDir& dir, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath("out.png");
    image.save(path);
    return path;
}

} // namespace

TEST_F(PortalTest, RequestSeesEveryOutcomeEvenAnAnswerThatOvertakesTheReply) {
    portal->setAnswer("Screenshot", {Answer::Kind::RespondBeforeReply, 0, {{"uri", "file:///x"}}});
    auto response = run(*portal);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, Status::Success);
    EXPECT_EQ(response->results.value("uri").toString(), "file:///x");

    // The handle token travels in the options, and the answer comes on its Request path.
    const QDBusMessage call = portal->callsOf("Screenshot").constLast();
    const QVariantMap options = qdbus_cast<QVariantMap>(call.arguments().constLast());
    EXPECT_FALSE(options.value("handle_token").toString().isEmpty());
    EXPECT_EQ(options.value("interactive").toBool(), false);

    portal->setAnswer("Screenshot", {Answer::Kind::Respond, 1, {}});
    EXPECT_EQ(run(*portal)->status, Status::Cancelled);
    portal->setAnswer("Screenshot", {Answer::Kind::Respond, 2, {}});
    EXPECT_EQ(run(*portal)->status, Status::Ended);
    // A portal of the old kind that picks its own handle.
    portal->setAnswer("Screenshot", {Answer::Kind::OtherHandle, 0, {{"uri", "file:///y"}}});
    response = run(*portal);
    EXPECT_EQ(response->status, Status::Success);
    EXPECT_EQ(response->results.value("uri").toString(), "file:///y");

    Answer missing;
    missing.kind = Answer::Kind::Error;
    portal->setAnswer("Screenshot", missing);
    response = run(*portal);
    EXPECT_EQ(response->status, Status::Failed);
    EXPECT_FALSE(response->error.isEmpty());
}

TEST_F(PortalTest, RequestWithoutAnswerTimesOutAndClosesItsRequest) {
    portal->setAnswer("Screenshot", {Answer::Kind::Silent, 0, {}});
    QElapsedTimer clock;
    clock.start();
    const auto response = run(*portal, 300);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, Status::TimedOut);
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_LT(clock.elapsed(), 2500);
    (void)QTest::qWaitFor([&] { return !portal->callsOf("Close").isEmpty(); }, 2000);
    ASSERT_EQ(portal->callsOf("Close").size(), 1);
    EXPECT_TRUE(portal->callsOf("Close").constFirst().path().contains("/request/"));
}

TEST_F(PortalTest, ScreenshotReadsThePictureAndLeavesNoFileBehind) {
    QTemporaryDir dir;
    const QString path = pictureFile(dir, {64, 48}, Qt::red);
    portal->setAnswer("Screenshot",
                      {Answer::Kind::Respond, 0, {{"uri", QUrl::fromLocalFile(path).toString()}}});
    PortalScreenshot screenshot(QDBusConnection::sessionBus(), portal->service(), 2000);
    std::optional<PortalScreenshot::Result> result;
    screenshot.take([&](const PortalScreenshot::Result& r) { result = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000));
    EXPECT_EQ(result->status, PortalScreenshot::Result::Status::Taken);
    EXPECT_EQ(result->image.size(), QSize(64, 48));
    EXPECT_EQ(result->image.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_FALSE(QFile::exists(path)) << "the desktop picture stayed on disk";
    EXPECT_EQ(screenshot.presence(), PortalScreenshot::Presence::Present);

    // A picture that is not there is a failure, not a crash or an empty success.
    portal->setAnswer("Screenshot",
                      {Answer::Kind::Respond, 0, {{"uri", "file:///nonexistent.png"}}});
    result.reset();
    screenshot.take([&](const PortalScreenshot::Result& r) { result = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000));
    EXPECT_EQ(result->status, PortalScreenshot::Result::Status::Failed);
    EXPECT_TRUE(result->image.isNull());
}

TEST_F(PortalTest, RefusalRevokesThePermissionUntilARequestSucceeds) {
    portal->setInterfaces({screenshotInterface});
    PortalScreenshot screenshot(QDBusConnection::sessionBus(), portal->service(), 2000);
    PortalScreenPermission permission(screenshot);
    EXPECT_TRUE(permission.hasAccess()) << "access is assumed before the portal answers";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return screenshot.presence() == PortalScreenshot::Presence::Present; }, 5000));

    portal->setAnswer("Screenshot", {Answer::Kind::Respond, 2, {}});
    std::optional<PortalScreenshot::Result> result;
    screenshot.take([&](const PortalScreenshot::Result& r) { result = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000));
    EXPECT_EQ(result->status, PortalScreenshot::Result::Status::Refused);
    EXPECT_FALSE(permission.hasAccess());

    // Asking again goes to the portal (whose dialog grants it), and the answer sticks.
    QTemporaryDir dir;
    const QString path = pictureFile(dir, {8, 8}, Qt::blue);
    portal->setAnswer("Screenshot",
                      {Answer::Kind::Respond, 0, {{"uri", QUrl::fromLocalFile(path).toString()}}});
    permission.requestAccess();
    EXPECT_TRUE(QTest::qWaitFor([&] { return permission.hasAccess(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(path); }, 5000));
}

TEST_F(PortalTest, ScreenshotWithoutAnswerFailsInsteadOfWaitingForever) {
    portal->setAnswer("Screenshot", {Answer::Kind::Silent, 0, {}});
    PortalScreenshot screenshot(QDBusConnection::sessionBus(), portal->service(), 250);
    std::optional<PortalScreenshot::Result> result;
    screenshot.take([&](const PortalScreenshot::Result& r) { result = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 3000));
    EXPECT_EQ(result->status, PortalScreenshot::Result::Status::Failed);
    EXPECT_FALSE(screenshot.lastRefused()) << "silence is a failure, not a refusal";
}

TEST_F(PortalTest, MissingPortalMeansNoPermission) {
    portal->setInterfaces({}); // this desktop offers no Screenshot
    PortalScreenshot screenshot(QDBusConnection::sessionBus(), portal->service(), 2000);
    PortalScreenPermission permission(screenshot);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return screenshot.presence() == PortalScreenshot::Presence::Missing; }, 5000));
    EXPECT_FALSE(permission.hasAccess());
    // It is there once the portal is.
    portal->setInterfaces({screenshotInterface});
    permission.hasAccess();
    EXPECT_TRUE(QTest::qWaitFor([&] { return permission.hasAccess(); }, 5000));
}

TEST_F(PortalTest, GrabberCutsThePictureIntoTheScreensAndTellsRefusalFromFailure) {
    // Two screens: 200x100 at scale 1, and 100x50 points at scale 2 right of it. The
    // compositor's picture is the 300x100 layout at scale 2.
    QImage desktop(600, 200, QImage::Format_RGB32);
    desktop.fill(Qt::red);
    QPainter(&desktop).fillRect(QRect(400, 0, 200, 100), Qt::blue);
    QTemporaryDir dir;
    const QString path = dir.filePath("desktop.png");
    ASSERT_TRUE(desktop.save(path));
    portal->setAnswer("Screenshot",
                      {Answer::Kind::Respond, 0, {{"uri", QUrl::fromLocalFile(path).toString()}}});
    PortalScreenshot screenshot(QDBusConnection::sessionBus(), portal->service(), 250);
    PortalScreenGrabber grabber(screenshot, [] {
        ScreenFrame left, right;
        left.geometry = QRect(0, 0, 200, 100);
        right.geometry = QRect(200, 0, 100, 50);
        right.devicePixelRatio = 2;
        return QList<ScreenFrame>{left, right};
    });
    std::optional<ScreenGrabber::Grab> grab;
    grabber.grab([&](const ScreenGrabber::Grab& g) { grab = g; });
    EXPECT_FALSE(grab) << "a portal answers later, never inside grab()";
    ASSERT_TRUE(QTest::qWaitFor([&] { return grab.has_value(); }, 5000));
    ASSERT_EQ(grab->outcome, ScreenGrabber::Grab::Outcome::Taken);
    ASSERT_EQ(grab->frames.size(), 2);
    EXPECT_EQ(grab->frames[0].image.size(), QSize(200, 100));
    EXPECT_EQ(grab->frames[0].image.pixelColor(199, 99), QColor(Qt::red));
    EXPECT_EQ(grab->frames[1].image.size(), QSize(200, 100));
    EXPECT_EQ(grab->frames[1].image.pixelColor(0, 0), QColor(Qt::blue));

    portal->setAnswer("Screenshot", {Answer::Kind::Respond, 1, {}});
    grab.reset();
    grabber.grab([&](const ScreenGrabber::Grab& g) { grab = g; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return grab.has_value(); }, 5000));
    EXPECT_EQ(grab->outcome, ScreenGrabber::Grab::Outcome::Refused);

    portal->setAnswer("Screenshot", {Answer::Kind::Silent, 0, {}});
    grab.reset();
    grabber.grab([&](const ScreenGrabber::Grab& g) { grab = g; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return grab.has_value(); }, 5000));
    EXPECT_EQ(grab->outcome, ScreenGrabber::Grab::Outcome::Failed);
    EXPECT_FALSE(grab->error.isEmpty());
}

TEST(PortalGlobalShortcutsTriggers, UseThePortalNotation) {
    const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    EXPECT_EQ(PortalGlobalShortcuts::triggerFor(Qt::Key_2, ctrlShift), "CTRL+SHIFT+2");
    EXPECT_EQ(PortalGlobalShortcuts::triggerFor(Qt::Key_2, ctrlShift | Qt::AltModifier),
              "CTRL+ALT+SHIFT+2");
    EXPECT_EQ(PortalGlobalShortcuts::triggerFor(Qt::Key_K, Qt::MetaModifier), "LOGO+k");
    EXPECT_EQ(PortalGlobalShortcuts::triggerFor(Qt::Key_F1, Qt::ControlModifier), "");
}

namespace {

const QString sessionPath = QStringLiteral("/org/freedesktop/portal/desktop/session/1_1/glintext");

void registerBoth(PortalGlobalShortcuts& shortcuts) {
    shortcuts.describeHotKey(1, "capture", "Capture Text");
    shortcuts.describeHotKey(2, "capture-hq", "High-Accuracy Capture");
    EXPECT_TRUE(shortcuts.registerHotKey(1, Qt::Key_2, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_TRUE(shortcuts.registerHotKey(
        2, Qt::Key_2, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier));
}

QVariant boundList(const QStringList& names) {
    QList<PortalShortcut> list;
    for (const QString& name : names)
        list.append({name, {{"description", name}, {"trigger_description", "Ctrl+" + name}}});
    return QVariant::fromValue(list);
}

} // namespace

TEST_F(PortalTest, ShortcutsAreBoundAsOneSetAndPressesReachTheirIds) {
    portal->setAnswer("CreateSession",
                      {Answer::Kind::Respond, 0, {{"session_handle", sessionPath}}});
    portal->setAnswer(
        "BindShortcuts",
        {Answer::Kind::Respond, 0, {{"shortcuts", boundList({"capture", "capture-hq"})}}});
    PortalGlobalShortcuts shortcuts(QDBusConnection::sessionBus(), portal->service(), 2000);
    QSignalSpy bound(&shortcuts, &PortalGlobalShortcuts::bound);
    QSignalSpy pressed(&shortcuts, &HotKeyService::pressed);
    registerBoth(shortcuts);
    ASSERT_TRUE(bound.wait(5000));
    EXPECT_EQ(shortcuts.state(), PortalGlobalShortcuts::State::Bound);
    EXPECT_EQ(shortcuts.boundTriggers().value("capture-hq"), "Ctrl+capture-hq");

    ASSERT_EQ(portal->callsOf("CreateSession").size(), 1);
    const QVariantMap sessionOptions =
        qdbus_cast<QVariantMap>(portal->callsOf("CreateSession").constFirst().arguments().value(0));
    EXPECT_EQ(sessionOptions.value("session_handle_token").toString(), "glintext")
        << "a fixed token lets the desktop keep the user's keys across restarts";

    ASSERT_EQ(portal->callsOf("BindShortcuts").size(), 1);
    const QList<QVariant> bind = portal->callsOf("BindShortcuts").constFirst().arguments();
    EXPECT_EQ(qdbus_cast<QDBusObjectPath>(bind.value(0)).path(), sessionPath);
    const QList<PortalShortcut> sent = PortalShortcut::listFrom(bind.value(1));
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0].name, "capture");
    EXPECT_EQ(sent[0].options.value("preferred_trigger").toString(), "CTRL+SHIFT+2");
    EXPECT_EQ(sent[0].options.value("description").toString(), "Capture Text");
    EXPECT_EQ(sent[1].name, "capture-hq");
    EXPECT_EQ(sent[1].options.value("preferred_trigger").toString(), "CTRL+ALT+SHIFT+2");

    portal->activate(sessionPath, "capture-hq");
    ASSERT_TRUE(pressed.wait(5000));
    EXPECT_EQ(pressed.takeFirst().value(0).toUInt(), 2u);
    // Another application's session and unknown names are not ours.
    portal->activate("/org/freedesktop/portal/desktop/session/1_9/other", "capture");
    portal->activate(sessionPath, "nothing");
    portal->activate(sessionPath, "capture");
    ASSERT_TRUE(pressed.wait(5000));
    QTest::qWait(100);
    ASSERT_EQ(pressed.size(), 1);
    EXPECT_EQ(pressed.takeFirst().value(0).toUInt(), 1u);

    // Nothing registered any more: the session is closed.
    shortcuts.unregisterHotKey(1);
    shortcuts.unregisterHotKey(2);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<QDBusMessage> closes = portal->callsOf("Close");
            return !closes.isEmpty() && closes.constLast().path() == sessionPath;
        },
        5000));
}

TEST_F(PortalTest, ShortcutsBoundWithTheSessionAreNotBoundAgain) {
    // Plasma 5.27 binds the shortcuts given with CreateSession and answers with them.
    portal->setAnswer("CreateSession", {Answer::Kind::Respond,
                                        0,
                                        {{"session_handle", sessionPath},
                                         {"shortcuts", boundList({"capture", "capture-hq"})}}});
    PortalGlobalShortcuts shortcuts(QDBusConnection::sessionBus(), portal->service(), 2000);
    QSignalSpy bound(&shortcuts, &PortalGlobalShortcuts::bound);
    registerBoth(shortcuts);
    ASSERT_TRUE(bound.wait(5000));
    QTest::qWait(100);
    EXPECT_TRUE(portal->callsOf("BindShortcuts").isEmpty());
    const QVariantMap options =
        qdbus_cast<QVariantMap>(portal->callsOf("CreateSession").constFirst().arguments().value(0));
    EXPECT_EQ(PortalShortcut::listFrom(options.value("shortcuts")).size(), 2);
}

TEST_F(PortalTest, DesktopWithoutShortcutsPortalSaysSoOnce) {
    Answer missing;
    missing.kind = Answer::Kind::Error;
    portal->setAnswer("CreateSession", missing);
    PortalGlobalShortcuts shortcuts(QDBusConnection::sessionBus(), portal->service(), 2000);
    QSignalSpy unavailable(&shortcuts, &PortalGlobalShortcuts::unavailable);
    registerBoth(shortcuts);
    ASSERT_TRUE(unavailable.wait(5000));
    EXPECT_EQ(shortcuts.state(), PortalGlobalShortcuts::State::Unavailable);
    // Later registrations fail at once and do not ask again.
    EXPECT_FALSE(shortcuts.registerHotKey(1, Qt::Key_2, Qt::ControlModifier));
    QTest::qWait(100);
    EXPECT_EQ(unavailable.size(), 1);
    EXPECT_EQ(portal->callsOf("CreateSession").size(), 1);
}

TEST_F(PortalTest, ShortcutsTheUserDeclinesAreGivenUp) {
    portal->setAnswer("CreateSession",
                      {Answer::Kind::Respond, 0, {{"session_handle", sessionPath}}});
    portal->setAnswer("BindShortcuts", {Answer::Kind::Respond, 1, {}});
    PortalGlobalShortcuts shortcuts(QDBusConnection::sessionBus(), portal->service(), 2000);
    QSignalSpy unavailable(&shortcuts, &PortalGlobalShortcuts::unavailable);
    registerBoth(shortcuts);
    ASSERT_TRUE(unavailable.wait(5000));
    EXPECT_EQ(shortcuts.state(), PortalGlobalShortcuts::State::Unavailable);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !portal->callsOf("Close").isEmpty(); }, 5000))
        << "the session of declined shortcuts stayed open";
}
