#include "support/GlobalHotKey.h"

#include "support/fakes/FakeHotKeyService.h"

#include <gtest/gtest.h>

TEST(GlobalHotKey, RegistersBothDefaultsOnceAndRoutesPressesById) {
    FakeHotKeyService service;
    GlobalHotKey hotKey(service);
    int normal = 0;
    int hq = 0;
    hotKey.onTrigger = [&] { ++normal; };
    hotKey.onTriggerHQ = [&] { ++hq; };

    hotKey.registerDefaultCaptureHotKey();
    hotKey.registerDefaultCaptureHotKey();
    ASSERT_EQ(hotKey.hotKeyRefs().size(), 2);
    EXPECT_EQ(hotKey.hotKeyRefs().at(0), GlobalHotKey::HotKeyID::Capture);
    EXPECT_EQ(hotKey.hotKeyRefs().at(1), GlobalHotKey::HotKeyID::CaptureHQ);
    EXPECT_EQ(service.active.size(), 2);
    const auto& first = service.registrations.at(0);
    EXPECT_EQ(first.id, 1u);
    EXPECT_EQ(first.key, Qt::Key_2);
    EXPECT_EQ(first.modifiers, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(service.registrations.at(1).modifiers,
              Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);

    // One handler only, whatever the number of registrations.
    service.press(1);
    service.press(2);
    service.press(7); // unknown numbers are normal captures
    EXPECT_EQ(normal, 2);
    EXPECT_EQ(hq, 1);

    // A combination another client holds is left out; the other still works.
    service.taken = {Qt::ControlModifier | Qt::ShiftModifier};
    hotKey.onTrigger = nullptr;
    hotKey.registerDefaultCaptureHotKey();
    ASSERT_EQ(hotKey.hotKeyRefs().size(), 1);
    EXPECT_EQ(hotKey.hotKeyRefs().first(), GlobalHotKey::HotKeyID::CaptureHQ);
    service.press(1); // no callback set: nothing happens
    service.press(2);
    EXPECT_EQ(normal, 2);
    EXPECT_EQ(hq, 2);

    hotKey.unregister();
    EXPECT_TRUE(hotKey.hotKeyRefs().isEmpty());
    EXPECT_FALSE(hotKey.hasEventHandler());
    EXPECT_TRUE(service.active.isEmpty());
    service.press(2);
    EXPECT_EQ(hq, 2);
}
