#include "app/AppDelegate.h"
#include "core/Defaults.h"
#include "ui/SelectionOverlayWindow.h"

#include "support/TestEnvironment.h"
#include "support/fakes/FakePlatform.h"
#include "support/fakes/FakeRecognition.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QKeyEvent>

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

    AppDelegate delegate(platform, recognition, defaults);
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
