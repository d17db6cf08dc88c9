#include "app/AppDelegate.h"
#include "core/AppSettings.h"
#include "core/Defaults.h"
#include "core/Permissions.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "ui/GTPillButton.h"
#include "ui/OnboardingWindowController.h"
#include "ui/onboarding/OKLinkButton.h"
#include "ui/onboarding/OKPageDot.h"
#include "ui/onboarding/OKRootView.h"
#include "ui/onboarding/OnboardingDemoCanvas.h"
#include "ui/onboarding/OnboardingKitController.h"
#include "ui/onboarding/OnboardingKitEnv.h"
#include "ui/settings/KeyChips.h"
#include "ui/settings/ToggleSwitch.h"

#include "support/TestEnvironment.h"
#include "support/fakes/FakeCrashCatcher.h"
#include "support/fakes/FakeLoginItem.h"
#include "support/fakes/FakePlatform.h"
#include "support/fakes/FakeProcessLog.h"
#include "support/fakes/FakeRecognition.h"
#include "support/fakes/FakeScreenPermission.h"
#include "support/fakes/FakeSecretStore.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : m_name(name) { qputenv(name, value); }
    ~ScopedEnv() { qunsetenv(m_name); }

private:
    const char* m_name;
};

// The guide as the application builds it, over a fresh settings file and a permission the
// test grants or withholds.
class Guide : public ::testing::Test {
protected:
    Guide() : defaults(freshPath()), settings(defaults, login), permissions(screen, defaults) {}

    static QString freshPath() {
        const QString path = TestEnvironment::home() + "/onboarding-defaults.json";
        QFile::remove(path);
        return path;
    }

    OKRootView* show(bool startAtPermissions = false) {
        guide.setTickInterval(tick);
        guide.show(startAtPermissions);
        return root();
    }
    OKRootView* root() const { return guide.kit() ? guide.kit()->rootView() : nullptr; }
    QWidget* window() const { return guide.kit() ? guide.kit()->window() : nullptr; }
    void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::chrono::milliseconds tick = 20ms;
    FakeLoginItem login;
    FakeScreenPermission screen;
    Defaults defaults;
    AppSettings settings;
    Permissions permissions;
    DefaultsLanguageStore store{defaults};
    L10n l10n{store, [] { return QStringList{QStringLiteral("en")}; }};
    OnboardingWindowController guide{settings, permissions, l10n};
};

QString accessibleName(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

} // namespace

TEST(OnboardingKitEnv, OnlyExactlyOneForcesTheGuide) {
    EXPECT_FALSE(OnboardingKitEnv::forced());
    for (const char* value : {"0", "true", "01", " 1", "", "yes"}) {
        ScopedEnv env("KORVANE_ONBOARDING", value);
        EXPECT_FALSE(OnboardingKitEnv::forced()) << value;
    }
    ScopedEnv env("KORVANE_ONBOARDING", "1");
    EXPECT_TRUE(OnboardingKitEnv::forced());
    EXPECT_TRUE(OnboardingWindowController::forcedByEnvironment());
}

TEST(OnboardingKitEnv, PageIsTheFirstDecimalAmongTheVariables) {
    EXPECT_EQ(OnboardingKitEnv::pinnedPage(), std::nullopt);
    {
        ScopedEnv env("KORVANE_ONBOARDING_PAGE", "9");
        EXPECT_EQ(OnboardingKitEnv::pinnedPage(), 9);
    }
    for (const char* bad : {"two", "2x", "", "+", "1.5", " 2"}) {
        ScopedEnv env("KORVANE_ONBOARDING_PAGE", bad);
        EXPECT_EQ(OnboardingKitEnv::pinnedPage(), std::nullopt) << bad;
    }
    ScopedEnv legacy("OLD_GUIDE_PAGE", "+2");
    EXPECT_EQ(OnboardingKitEnv::pinnedPage({"OLD_GUIDE_PAGE"}), 2);
    ScopedEnv ignored("KORVANE_ONBOARDING_PAGE", "soon"); // skipped, the legacy one counts
    EXPECT_EQ(OnboardingKitEnv::pinnedPage({"OLD_GUIDE_PAGE"}), 2);
    ScopedEnv huge("OLD_GUIDE_PAGE", "-99999999999999999999");
    EXPECT_EQ(OnboardingKitEnv::pinnedPage({"OLD_GUIDE_PAGE"}), INT_MIN);
}

TEST_F(Guide, PinnedPageIsClampedToThePages) {
    {
        ScopedEnv env("KORVANE_ONBOARDING_PAGE", "9");
        EXPECT_EQ(show()->index(), 3);
        EXPECT_TRUE(root()->isPinned());
        window()->close();
    }
    {
        ScopedEnv env("KORVANE_ONBOARDING_PAGE", "-3");
        EXPECT_EQ(show(true)->index(), 0); // the pin wins over the permission start
        window()->close();
    }
    ScopedEnv env("KORVANE_ONBOARDING_PAGE", "third");
    EXPECT_EQ(show()->index(), 0);
    EXPECT_FALSE(root()->isPinned());
}

TEST_F(Guide, StartsAtThePermissionPageWhenAsked) {
    screen.granted = false;
    OKRootView* view = show(true);
    EXPECT_EQ(view->index(), 1);
    EXPECT_TRUE(view->waitingForGrant());
    // Waiting shows the wait and "later", not the page's buttons.
    EXPECT_FALSE(view->primaryButton()->isVisible());
    EXPECT_TRUE(view->laterButton()->isVisible());
    EXPECT_EQ(view->laterButton()->text(), "Skip for now");
    // The waiting page cannot be reached on X11 (always granted): keep its picture here.
    if (const QString shots = qEnvironmentVariable("GLINTEXT_E2E_SHOTS"); !shots.isEmpty())
        window()->grab().save(shots + "/onboarding-waiting.png");
    view->laterButton()->click();
    EXPECT_EQ(view->index(), 2);
}

TEST_F(Guide, GrantWhileWaitingMovesOnAtTheNextTick) {
    screen.granted = false;
    tick = 50ms;
    OKRootView* view = show(true);
    QTest::qWait(120);
    EXPECT_EQ(view->index(), 1);
    const int ticksBefore = view->tick();
    screen.granted = true;
    QTRY_COMPARE_WITH_TIMEOUT(view->index(), 2, 1000);
    EXPECT_EQ(view->tick(), ticksBefore + 1);
}

TEST_F(Guide, GrantedOnArrivalWaitsForTheButton) {
    screen.granted = true;
    OKRootView* view = show(true);
    EXPECT_TRUE(view->grantedOnArrival());
    EXPECT_FALSE(view->waitingForGrant());
    EXPECT_TRUE(view->primaryButton()->isVisible());
    EXPECT_EQ(view->primaryButton()->text(), "Continue");
    auto* grant = view->page()->findChild<GTPillButton*>("grant");
    ASSERT_TRUE(grant);
    EXPECT_EQ(grant->text(), "Allowed");
    EXPECT_FALSE(grant->isEnabled());
    QTest::qWait(150);
    EXPECT_EQ(view->index(), 1);
    view->primaryButton()->click();
    EXPECT_EQ(view->index(), 2);
}

TEST_F(Guide, PinnedPermissionPageNeverMovesOnByItself) {
    screen.granted = false;
    ScopedEnv env("KORVANE_ONBOARDING_PAGE", "1");
    OKRootView* view = show();
    ASSERT_EQ(view->index(), 1);
    screen.granted = true;
    QTRY_VERIFY_WITH_TIMEOUT(view->primaryButton()->isVisible(), 1000);
    QTest::qWait(100);
    EXPECT_EQ(view->index(), 1);
    // The row shows the new state where it is.
    EXPECT_EQ(view->page()->findChild<GTPillButton*>("grant")->text(), "Allowed");
}

TEST_F(Guide, AllowPromptsOnceThenOpensTheSettings) {
    screen.granted = false;
    OKRootView* view = show(true);
    auto* grant = view->page()->findChild<GTPillButton*>("grant");
    ASSERT_TRUE(grant);
    EXPECT_EQ(grant->text(), "Allow");
    grant->click();
    EXPECT_EQ(screen.requests, 1);
    EXPECT_TRUE(defaults.contains("permissionFlowStartedAt"));
    grant->click();
    EXPECT_EQ(screen.requests, 1);
    EXPECT_EQ(screen.opened, 1);
    EXPECT_EQ(view->index(), 1);
}

TEST_F(Guide, SecondaryButtonOpensTheSettingsAndStays) {
    screen.granted = true; // the link is shown next to the page's own button
    OKRootView* view = show(true);
    ASSERT_TRUE(view->secondaryButton()->isVisible());
    EXPECT_EQ(view->secondaryButton()->text(), "No prompt? Open system settings");
    view->secondaryButton()->click();
    EXPECT_EQ(screen.opened, 1);
    EXPECT_EQ(view->index(), 1);
}

TEST_F(Guide, FinishingAndClosingEachCompleteOnce) {
    OKRootView* view = show();
    EXPECT_FALSE(view->backButton()->isVisible());
    for (int page = 0; page < 3; ++page)
        view->primaryButton()->click();
    EXPECT_EQ(view->index(), 3);
    EXPECT_TRUE(view->backButton()->isVisible());
    EXPECT_EQ(view->primaryButton()->text(), "Get Started");
    QPointer<QWidget> first = window();
    view->primaryButton()->click();
    EXPECT_TRUE(settings.value(Settings::onboardingCompleted));
    EXPECT_FALSE(first->isVisible());
    settle();
    EXPECT_FALSE(first);
    EXPECT_EQ(guide.kit(), nullptr);

    // A fresh guide from the menu; its close button counts as finishing.
    settings.set(Settings::onboardingCompleted, false);
    int changes = 0;
    QObject::connect(&settings, &AppSettings::changed, [&](const QString& key) {
        changes += key == QLatin1String("onboardingCompleted");
    });
    show();
    EXPECT_EQ(root()->index(), 0);
    window()->close();
    EXPECT_TRUE(settings.value(Settings::onboardingCompleted));
    EXPECT_EQ(changes, 1);
    settle();
    EXPECT_EQ(guide.kit(), nullptr);
}

TEST_F(Guide, BackAndDotsMoveBetweenPages) {
    OKRootView* view = show();
    view->primaryButton()->click();
    view->primaryButton()->click();
    view->backButton()->click();
    EXPECT_EQ(view->index(), 1);
    view->dots().at(3)->click();
    EXPECT_EQ(view->index(), 3);
    view->dots().at(3)->click(); // the current dot stays current
    EXPECT_TRUE(view->dots().at(3)->isChecked());
    EXPECT_FALSE(view->dots().at(1)->isChecked());
}

TEST_F(Guide, ConsentSwitchesWriteTheSettings) {
    ScopedEnv env("KORVANE_ONBOARDING_PAGE", "3");
    OKRootView* view = show();
    auto* crash = view->page()->findChild<ToggleSwitch*>("crashReportingEnabled");
    auto* improve = view->page()->findChild<ToggleSwitch*>("improveDataSharing");
    auto* atLogin = view->page()->findChild<ToggleSwitch*>("launchAtLogin");
    ASSERT_TRUE(crash && improve && atLogin);
    EXPECT_TRUE(crash->isChecked());
    EXPECT_TRUE(atLogin->isChecked());
    crash->click();
    atLogin->click();
    EXPECT_FALSE(settings.value(Settings::crashReportingEnabled));
    EXPECT_FALSE(settings.value(Settings::launchAtLogin));
    EXPECT_EQ(login.calls.last(), false);              // the login item went away with it
    settings.set(Settings::improveDataSharing, false); // from elsewhere
    EXPECT_FALSE(improve->isChecked());
}

TEST(OnboardingKit, SmallScreenKeepsTheWindowInsideTheUsableArea) {
    const QRect frame(0, 0, 1000, 300);
    OnboardingKitController small(
        [] {
            OKStep tall;
            tall.content = [] {
                auto* page = new QWidget;
                page->setMinimumHeight(900);
                return page;
            };
            return QList<OKStep>{OKStep{}, tall};
        },
        [] { return OKStrings{}; });
    small.setVisibleFrame([frame](const QWidget*) { return std::optional<QRect>(frame); });
    small.show(false);
    QWidget* shown = small.window();
    ASSERT_TRUE(shown);
    small.rootView()->advance();
    EXPECT_TRUE(small.rootView()->contentScrolls());
    EXPECT_LE(shown->height(), frame.height() - 40);
    EXPECT_LE(shown->frameGeometry().bottom(), frame.bottom());
    EXPECT_EQ(shown->width(), 360);

    // Growing near the bottom lifts the window onto the bottom edge; otherwise the top stays.
    shown->move(0, 200);
    small.resize(200);
    EXPECT_EQ(shown->height(), 200);
    EXPECT_EQ(shown->frameGeometry().bottom(), frame.bottom()); // the window's frame included
    shown->move(0, 10);
    const int top = shown->geometry().top();
    small.resize(150);
    EXPECT_EQ(shown->geometry().top(), top);
    EXPECT_EQ(shown->height(), 150);
    small.resize(5000);
    EXPECT_EQ(shown->height(), 260);
}

TEST_F(Guide, EveryControlIsNamedAndReachableByTab) {
    ScopedEnv env("KORVANE_ONBOARDING_PAGE", "3");
    OKRootView* view = show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    window()->activateWindow();
    QApplication::setActiveWindow(window());

    QList<QWidget*> expected{view->backButton(), view->primaryButton()};
    for (ToggleSwitch* toggle : view->page()->findChildren<ToggleSwitch*>())
        expected << toggle;
    for (OKPageDot* dot : view->dots())
        expected << dot;
    ASSERT_EQ(expected.size(), 2 + 3 + 4);

    QSet<QWidget*> reached;
    view->backButton()->setFocus();
    for (int i = 0; i < 20; ++i) {
        reached << QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (QWidget* control : expected) {
        EXPECT_TRUE(reached.contains(control)) << control->metaObject()->className();
        EXPECT_FALSE(accessibleName(control).trimmed().isEmpty())
            << control->metaObject()->className();
    }
    EXPECT_EQ(accessibleName(view->dots().at(1)), "Page 2");
    EXPECT_EQ(accessibleName(view->primaryButton()), "Get Started");

    // Space works them: a switch, and a dot that changes the page.
    auto* crash = view->page()->findChild<ToggleSwitch*>("crashReportingEnabled");
    crash->setFocus();
    QTest::keyClick(crash, Qt::Key_Space);
    EXPECT_FALSE(settings.value(Settings::crashReportingEnabled));
    view->dots().at(0)->setFocus();
    QTest::keyClick(view->dots().at(0), Qt::Key_Space);
    EXPECT_EQ(view->index(), 0);
}

TEST_F(Guide, TutorialShowsTheRealShortcutAndAnimatesOnlyWhileShown) {
    ScopedEnv env("KORVANE_ONBOARDING_PAGE", "2");
    OKRootView* view = show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    QList<QStringList> caps;
    for (KeyChips* chips : view->page()->findChildren<KeyChips*>())
        caps << chips->keys();
    EXPECT_EQ(caps, (QList<QStringList>{{"Ctrl", "Shift", "2"}, {"Ctrl", "V"}, {"Esc"}}));
    auto* canvas = view->page()->findChild<OnboardingDemoCanvas*>();
    ASSERT_TRUE(canvas);
    EXPECT_TRUE(canvas->isAnimating());
    const qreal start = canvas->phase();
    QTRY_VERIFY_WITH_TIMEOUT(canvas->phase() != start, 1000);
    window()->hide();
    EXPECT_FALSE(canvas->isAnimating());
}

TEST_F(Guide, LanguageChangeRelabelsTheOpenGuide) {
    OKRootView* view = show();
    l10n.apply(QStringLiteral("de"));
    EXPECT_EQ(view->primaryButton()->text(), "Weiter");
    EXPECT_EQ(accessibleName(view->dots().at(0)), "Seite 1");
    l10n.apply(QStringLiteral("en"));
    EXPECT_EQ(view->primaryButton()->text(), "Continue");
}

namespace {

// The guide's window the application shows, if any.
OKRootView* shownGuide() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            if (auto* root = widget->findChild<OKRootView*>())
                return root;
        }
    }
    return nullptr;
}

} // namespace

TEST(OnboardingAtStartUp, TheFirstWindowFollowsTheStoredStateAndThePermission) {
    struct Case {
        const char* defaults;
        bool granted;
        const char* forced;
        int page; // -1: no guide
    };
    const Case cases[] = {
        {"{}", true, nullptr, 0},                                // first run, even when granted
        {R"({"onboardingCompleted": true})", false, nullptr, 1}, // permission missing
        {R"({"onboardingCompleted": true})", true, nullptr, -1},
        {R"({"onboardingCompleted": true})", true, "1", 0},
        {R"({"onboardingCompleted": true})", true, "yes", -1},
    };
    for (const Case& c : cases) {
        const QString path = TestEnvironment::home() + "/startup-defaults.json";
        TestEnvironment::writeFile(path, c.defaults);
        std::optional<ScopedEnv> forced;
        if (c.forced)
            forced.emplace("KORVANE_ONBOARDING", c.forced);
        Defaults defaults(path);
        FakePlatform platform;
        platform.permission.granted = c.granted;
        FakeRecognition recognition;
        FakeSecretStore secrets;
        FakeCrashCatcher crashes;
        FakeProcessLog processLog;
        defaults.setBool("crashReportingEnabled", false); // nothing leaves the test
        AppDelegate delegate(platform, recognition, secrets, defaults, crashes, processLog);
        delegate.applicationDidFinishLaunching();
        OKRootView* guide = shownGuide();
        SCOPED_TRACE(std::string(c.defaults) + " forced=" + (c.forced ? c.forced : "-"));
        if (c.page < 0) {
            EXPECT_EQ(guide, nullptr);
        } else {
            ASSERT_NE(guide, nullptr);
            EXPECT_EQ(guide->index(), c.page);
        }
    }
}
