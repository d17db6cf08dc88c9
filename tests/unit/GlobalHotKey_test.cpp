#include "support/GlobalHotKey.h"

#include "core/DebugLog.h"
#include "core/Defaults.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "support/TestEnvironment.h"
#include "support/fakes/FakeHotKeyService.h"

#include <gtest/gtest.h>

namespace {

struct Strings {
    Defaults defaults{TestEnvironment::home() + "/hotkey-defaults.json"};
    DefaultsLanguageStore store{defaults};
    L10n l10n{store, [] { return QStringList{QStringLiteral("en")}; }};
};

} // namespace

TEST(GlobalHotKey, RegistersBothDefaultsOnceAndRoutesPressesById) {
    FakeHotKeyService service;
    Strings strings;
    GlobalHotKey hotKey(service, strings.l10n);
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

// Desktops that list an application's shortcuts keep the user's keys under a stable name and
// show a description in the user's language.
TEST(GlobalHotKey, NamesTheShortcutsStablyAndDescribesThemInTheInterfaceLanguage) {
    FakeHotKeyService service;
    Strings strings;
    GlobalHotKey hotKey(service, strings.l10n);
    hotKey.registerDefaultCaptureHotKey();
    using Description = QPair<QString, QString>;
    EXPECT_EQ(service.descriptions.value(1), Description("capture", "Capture Text"));
    EXPECT_EQ(service.descriptions.value(2), Description("capture-hq", "High-Accuracy Capture"));

    strings.l10n.apply(QStringLiteral("de"));
    hotKey.registerDefaultCaptureHotKey();
    EXPECT_EQ(service.descriptions.value(1).first, "capture");
    EXPECT_EQ(service.descriptions.value(1).second, "Text erfassen");
    EXPECT_EQ(service.descriptions.value(2).first, "capture-hq");
    EXPECT_EQ(service.descriptions.value(2).second,
              L10n::string("menu.captureHQ", AppLanguage::de));
    EXPECT_NE(service.descriptions.value(2).second, "High-Accuracy Capture");
    strings.l10n.apply(QStringLiteral("en"));
}

// However often the desktop or the start-up says so, the log tells it once.
TEST(GlobalHotKey, WritesTheNoShortcutsLineOnce) {
    FakeHotKeyService service;
    Strings strings;
    GlobalHotKey hotKey(service, strings.l10n);
    hotKey.registerDefaultCaptureHotKey();
    const auto lines = [] { return DebugLog::tail().count(QStringLiteral("Hotkey: ")); };
    const qsizetype before = lines();

    service.refuse(QStringLiteral("no shortcuts portal"));
    EXPECT_EQ(lines(), before + 1);
    EXPECT_TRUE(DebugLog::tail().contains(
        QStringLiteral("Hotkey: no global shortcuts on this desktop (no shortcuts portal); bind "
                       "`glintext capture` and `glintext capture --hq`")));
    service.refuse(QStringLiteral("again"));
    hotKey.reportUnavailable(QStringLiteral("none offered"));
    hotKey.registerDefaultCaptureHotKey();
    service.refuse(QStringLiteral("after registering again"));
    EXPECT_EQ(lines(), before + 1);
}
