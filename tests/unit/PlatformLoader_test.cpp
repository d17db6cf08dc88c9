#include "platform/DesktopState.h"
#include "platform/HotKeyService.h"
#include "platform/Platform.h"
#include "platform/PlatformLoader.h"
#include "platform/ScreenGrabber.h"
#include "platform/ScreenPermission.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

TEST(PlatformLoader, TheSessionChoosesUnlessTheOverrideNamesABackend) {
    QString warning;
    EXPECT_EQ(PlatformLoader::choose({}, "xcb", &warning), "x11");
    EXPECT_EQ(PlatformLoader::choose({}, "offscreen", &warning), "null");
    EXPECT_EQ(PlatformLoader::choose({}, "wayland", &warning), "wayland");
    EXPECT_EQ(PlatformLoader::choose({}, "wayland-egl", &warning), "wayland");
    EXPECT_EQ(PlatformLoader::choose("null", "xcb", &warning), "null");
    EXPECT_EQ(PlatformLoader::choose("x11", "offscreen", &warning), "x11");
    EXPECT_TRUE(warning.isEmpty());

    EXPECT_EQ(PlatformLoader::choose("X11", "xcb", &warning), "x11");
    EXPECT_TRUE(warning.contains("GLINTEXT_PLATFORM=X11")) << warning.toStdString();
    EXPECT_EQ(PlatformLoader::create("gnome"), nullptr);
    for (const QString& name : PlatformLoader::backendNames())
        EXPECT_EQ(PlatformLoader::create(name)->name(), name);
}

// A Wayland session runs on the native wayland plugin (some Qt releases alone pick XWayland
// on GNOME); the user's own choice and an X11 session are left alone.
TEST(PlatformLoader, AWaylandSessionAsksForTheNativeToolkitPlatform) {
    using PlatformLoader::toolkitPlatformFor;
    EXPECT_EQ(toolkitPlatformFor({}, {}, "wayland", true), "wayland;xcb");
    EXPECT_EQ(toolkitPlatformFor({}, {}, "wayland", false), ""); // no compositor to talk to
    EXPECT_EQ(toolkitPlatformFor({}, {}, "x11", true), "");
    EXPECT_EQ(toolkitPlatformFor({}, {}, {}, false), "");
    EXPECT_EQ(toolkitPlatformFor({}, "xcb", "wayland", true), "");
    EXPECT_EQ(toolkitPlatformFor({}, "offscreen", "wayland", true), "");
    // The forced backend brings its toolkit platform, or the two would not fit.
    EXPECT_EQ(toolkitPlatformFor("x11", {}, "wayland", true), "xcb");
    EXPECT_EQ(toolkitPlatformFor("wayland", {}, "x11", true), "wayland");
    EXPECT_EQ(toolkitPlatformFor("null", {}, "wayland", true), "wayland;xcb");
    EXPECT_EQ(toolkitPlatformFor("x11", "offscreen", "wayland", true), "");
}

TEST(PlatformLoader, TheNullBackendCanDoNothingAndSaysSo) {
    // The tests run on the offscreen toolkit platform, which is a null session.
    const std::unique_ptr<Platform> platform = PlatformLoader::load();
    ASSERT_EQ(platform->name(), "null");
    const Platform::Capabilities caps = platform->capabilities();
    EXPECT_FALSE(caps.globalShortcuts || caps.screenCapture || caps.exclusiveInputGrabs);

    EXPECT_FALSE(platform->hotKeys().registerHotKey(1, Qt::Key_2, Qt::ControlModifier));
    EXPECT_TRUE(platform->screenPermission().hasAccess()); // nothing to ask for
    // Every screen is there, none can be read: a capture fails the way a refused read does.
    const QList<ScreenFrame> frames = platform->screenGrabber().grabScreens();
    ASSERT_EQ(frames.size(), QGuiApplication::screens().size());
    EXPECT_EQ(frames.first().geometry, QGuiApplication::primaryScreen()->geometry());
    EXPECT_TRUE(frames.first().image.isNull());
    EXPECT_FALSE(frames.first().error.isEmpty());
}

TEST(PlatformLoader, TheX11BackendWithoutAnXServerHasNoShortcuts) {
    qunsetenv("DISPLAY");
    const std::unique_ptr<Platform> platform = PlatformLoader::create("x11");
    EXPECT_FALSE(platform->capabilities().globalShortcuts);
    EXPECT_FALSE(platform->hotKeys().registerHotKey(1, Qt::Key_2, Qt::ControlModifier));
    EXPECT_FALSE(platform->desktop().isCompositing());
}
