#include "app/AppDelegate.h"
#include "core/AppSettings.h"
#include "core/CaptureController.h"
#include "core/Defaults.h"
#include "support/GlobalHotKey.h"
#include "ui/SelectionOverlayController.h"

#include <QApplication>
#include <QDateTime>

#include <gtest/gtest.h>

namespace {
class OneScreen : public ScreenGrabber {
public:
    QList<ScreenFrame> grabScreens() override {
        ScreenFrame frame;
        frame.geometry = QRect(0, 0, 320, 200);
        frame.image = QImage(320, 200, QImage::Format_RGB32);
        frame.image.fill(Qt::gray);
        return {frame};
    }
};
} // namespace

TEST(AppDelegate, StartUpWiresShortcutsToQueuedCapturesAndConsumesThePermissionFlow) {
    OneScreen grabber;
    CaptureController::shared().setScreenGrabber(&grabber);
    AppSettings::shared().setOnboardingCompleted(true);
    Defaults::standard().setDouble("permissionFlowStartedAt",
                                   double(QDateTime::currentSecsSinceEpoch() - 60));

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    EXPECT_FALSE(Defaults::standard().contains("permissionFlowStartedAt"));
    ASSERT_TRUE(GlobalHotKey::shared().onTrigger);
    ASSERT_TRUE(GlobalHotKey::shared().onTriggerHQ);

    // The shortcut handler only schedules the capture.
    GlobalHotKey::shared().handlePress(1);
    EXPECT_FALSE(SelectionOverlayController::shared().isOpen());
    QCoreApplication::processEvents();
    EXPECT_TRUE(SelectionOverlayController::shared().isOpen());
    SelectionOverlayController::shared().finish(std::nullopt);

    // A command from another process opens the selection at once.
    delegate.handleCommand(AppCommand{AppCommand::Kind::Capture, {}});
    EXPECT_TRUE(SelectionOverlayController::shared().isOpen());
    SelectionOverlayController::shared().finish(std::nullopt);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    CaptureController::shared().setScreenGrabber(nullptr);
}
