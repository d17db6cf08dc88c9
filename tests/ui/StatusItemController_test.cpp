#include "BuildConfig.h"
#include "core/AppSettings.h"
#include "core/Defaults.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "ui/StatusItemController.h"
#include "ui/settings/AboutHeader.h"

#include "support/fakes/FakeClipboard.h"
#include "support/fakes/FakeDesktopState.h"
#include "support/fakes/FakeLoginItem.h"
#include "support/fakes/FakeScreenPermission.h"
#include "support/fakes/FakeToaster.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString tr(const char* key) {
    return L10n::string(QString::fromLatin1(key), AppLanguage::en);
}

// The outside world as the tray item sees it, recording everything it asks for.
struct World {
    World()
        : defaults(dir.path() + "/defaults.json"), settings(defaults, login),
          history(settings, dir.path() + "/history.json"), permissions(permission, defaults),
          languageStore(defaults), l10n(languageStore) {}

    std::unique_ptr<StatusItemController> make(bool feed = false,
                                               StatusItemController::Timing timing = {2000}) {
        auto c = std::make_unique<StatusItemController>(permissions, history, l10n, clipboard,
                                                        toaster, desktop, feed, timing);
        QObject::connect(c.get(), &StatusItemController::captureRequested,
                         [this](bool hq) { captures.append(hq); });
        QObject::connect(c.get(), &StatusItemController::settingsRequested,
                         [this] { ++settingsWindow; });
        QObject::connect(c.get(), &StatusItemController::updateCheckRequested,
                         [this] { ++updateChecks; });
        QObject::connect(c.get(), &StatusItemController::quitRequested, [this] { ++quits; });
        return c;
    }

    QTemporaryDir dir;
    Defaults defaults;
    FakeLoginItem login;
    AppSettings settings;
    OCRHistoryStore history;
    FakeScreenPermission permission;
    Permissions permissions;
    DefaultsLanguageStore languageStore;
    L10n l10n;
    FakeClipboard clipboard;
    FakeToaster toaster;
    FakeDesktopState desktop;
    QList<bool> captures;
    int settingsWindow = 0, updateChecks = 0, quits = 0;
};

class StatusItemTest : public ::testing::Test {
protected:
    // What opening the menu does; separators read "-".
    static QStringList open(StatusItemController& c) {
        Q_EMIT c.menu()->aboutToShow();
        QStringList out;
        for (QAction* a : c.menu()->actions())
            out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
    static QAction* item(StatusItemController& c, int index) { return c.menu()->actions()[index]; }
    static QAction* find(StatusItemController& c, const char* key) {
        for (QAction* a : c.menu()->actions())
            if (a->text() == tr(key))
                return a;
        return nullptr;
    }

    World world;
};

TEST_F(StatusItemTest, MenuItemsAndTheirActions) {
    auto c = world.make();
    // Empty history: no recent section and no separator before it; no feed, no updates.
    EXPECT_EQ(open(*c),
              (QStringList{tr("menu.capture"), tr("menu.captureHQ"), "-", tr("menu.settings"),
                           tr("menu.guide"), tr("menu.about"), "-", tr("menu.quit")}));
    EXPECT_EQ(find(*c, "menu.capture")->shortcut(), QKeySequence("Ctrl+Shift+2"));
    EXPECT_EQ(find(*c, "menu.captureHQ")->shortcut(), QKeySequence("Ctrl+Alt+Shift+2"));
    EXPECT_EQ(find(*c, "menu.settings")->shortcut(), QKeySequence("Ctrl+,"));
    EXPECT_EQ(find(*c, "menu.quit")->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_TRUE(find(*c, "menu.quit")->isShortcutVisibleInContextMenu());

    auto withFeed = world.make(true);
    EXPECT_EQ(open(*withFeed)[5], tr("menu.check_updates"));
    int guides = 0;
    QObject::connect(withFeed.get(), &StatusItemController::onboardingRequested, [&] { ++guides; });
    for (const char* key : {"menu.capture", "menu.captureHQ", "menu.settings", "menu.guide",
                            "menu.check_updates", "menu.quit"})
        find(*withFeed, key)->trigger();
    EXPECT_EQ(world.captures, (QList<bool>{false, true}));
    EXPECT_EQ(world.settingsWindow + world.updateChecks + world.quits, 3);
    EXPECT_EQ(guides, 1);

    find(*c, "menu.about")->trigger();
    AboutDialog* about = c->aboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), tr("menu.about"));
    EXPECT_TRUE(about->header()->versionLabel()->text().contains(QString(BuildConfig::version)));
    find(*c, "menu.about")->trigger();
    EXPECT_EQ(c->aboutBox(), about); // one box, brought forward
}

TEST_F(StatusItemTest, RecentCapturesNewestFiveCutAndCopied) {
    auto c = world.make();
    open(*c);
    // Rebuilt at every opening: entries added meanwhile show up.
    QList<OCRHistoryStore::Capture> items;
    const QString longText = QString(40, 'a') + "\n" + QString(39, 'b') + "\n" + QString(19, 'c');
    items.append({QUuid::createUuid(), QDateTime::currentDateTimeUtc(), longText});
    for (int i = 0; i < 11; ++i)
        items.append({QUuid::createUuid(), QDateTime::currentDateTimeUtc(), QString::number(i)});
    world.history.setItems(items);
    const QStringList titles = open(*c);
    EXPECT_EQ(titles.mid(2, 9), (QStringList{"-", tr("menu.recent"), QString(40, 'a'), "0", "1",
                                             "2", "3", "-", tr("menu.settings")}));
    EXPECT_FALSE(item(*c, 3)->isEnabled()); // the heading
    EXPECT_EQ(item(*c, 5)->data().toUuid(), items[1].id);

    // The full text is copied, and confirmed even with the toast setting off.
    world.clipboard.content = "before";
    item(*c, 4)->trigger();
    EXPECT_EQ(world.clipboard.content, longText);
    EXPECT_EQ(world.toaster.shown, QStringList{tr("toast.copied")});
    // An entry that went away while the menu was open copies nothing.
    world.history.setItems({});
    item(*c, 5)->trigger();
    EXPECT_EQ(world.clipboard.content, longText);
    EXPECT_EQ(world.toaster.shown.size(), 1);

    // Line feeds become spaces before the cut; characters count as the reader sees them; a
    // menu never reads an ampersand or a tab as markup.
    EXPECT_EQ(StatusItemController::recentTitle(QString(39, 'x') + "\nyz"), QString(39, 'x') + " ");
    EXPECT_EQ(StatusItemController::recentTitle(QString("e\u0301").repeated(45)),
              QString("e\u0301").repeated(40));
    EXPECT_EQ(StatusItemController::recentTitle("Tom & Jerry\tx"), "Tom && Jerry x");
}

TEST_F(StatusItemTest, MissingPermissionBadgeItemAndPromptOnce) {
    world.permission.granted = false;
    auto c = world.make(false, {20});
    EXPECT_EQ(c->iconState(), TrayIcon::State::PermissionWarning);
    EXPECT_TRUE(c->badge().isPulsing());
    EXPECT_EQ(c->statusItem()->toolTip(), "Glintext");
    ASSERT_EQ(open(*c)[2], tr("menu.permissionNeeded"));
    item(*c, 2)->trigger();
    item(*c, 2)->trigger();
    EXPECT_EQ(world.permission.requests, 1);
    EXPECT_EQ(world.permission.opened, 2);

    world.desktop.reduceMotion = true; // the desktop turned animations off: the dot stays, still
    c->refreshIcon();
    EXPECT_TRUE(c->badge().isVisible());
    EXPECT_FALSE(c->badge().isPulsing());

    // Granted elsewhere: the next refresh removes the dot without any user action.
    world.permission.granted = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !c->isBadged(); }, 2000));
    EXPECT_FALSE(c->badge().isVisible());
    EXPECT_EQ(open(*c)[2], "-");

    // Somebody else already prompted in this run: the item only opens the settings.
    World other;
    other.permission.granted = false;
    other.permissions.requestScreenRecording(); // the capture, say
    ASSERT_EQ(other.permission.requests, 1);
    auto second = other.make();
    open(*second);
    find(*second, "menu.permissionNeeded")->trigger();
    EXPECT_EQ(other.permission.requests, 1);
    EXPECT_EQ(other.permission.opened, 1);
}

TEST_F(StatusItemTest, LeftClickCapturesControlClickOpensMenu) {
    auto c = world.make();
    QSystemTrayIcon* tray = c->statusItem();
    Q_EMIT tray->activated(QSystemTrayIcon::Trigger);
    Q_EMIT tray->activated(QSystemTrayIcon::Context);
    Q_EMIT tray->activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(world.captures, QList<bool>{false});

    world.desktop.modifiers = Qt::ControlModifier;
    Q_EMIT tray->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(c->menu()->isVisible());
    EXPECT_EQ(world.captures.size(), 1);
    c->menu()->hide();
    world.desktop.modifiers = {};
    Q_EMIT tray->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(world.captures, (QList<bool>{false, false}));

    // Reported on the press: the capture waits for the release, so the overlay that opens
    // does not take it for a cancelling click.
    world.desktop.buttons = Qt::LeftButton;
    Q_EMIT tray->activated(QSystemTrayIcon::Trigger);
    Q_EMIT tray->activated(QSystemTrayIcon::Trigger);
    QTest::qWait(40);
    EXPECT_EQ(world.captures.size(), 2);
    world.desktop.buttons = {};
    EXPECT_TRUE(QTest::qWaitFor([&] { return world.captures.size() == 3; }, 1000));
    QTest::qWait(40);
    EXPECT_EQ(world.captures.size(), 3);
}

TEST_F(StatusItemTest, IconPulsesAndFollowsThePalette) {
    world.permission.granted = false;
    auto c = world.make(false, {2000, 40, 4});
    const qint64 first = c->statusItem()->icon().cacheKey();
    EXPECT_TRUE(QTest::qWaitFor([&] { return c->statusItem()->icon().cacheKey() != first; }, 1000));

    world.permission.granted = true;
    c->refreshIcon();
    const QPalette original = QApplication::palette();
    QPalette green = original;
    green.setColor(QPalette::WindowText, QColor(0, 200, 0));
    QApplication::setPalette(green);
    QCoreApplication::processEvents(); // widgets hear of it through posted events
    const QImage img = c->statusItem()->icon().pixmap(QSize(32, 32)).toImage();
    QApplication::setPalette(original);
    EXPECT_EQ(img.pixelColor(3, 8), QColor(0, 200, 0)); // a fully covered stroke pixel
}

// Where the desktop tells the panel's text colour (a dark bar), the icon takes it rather than
// the toolkit's dark text, and follows it when the bar changes at the next refresh.
TEST_F(StatusItemTest, IconTakesThePanelsTextColourWhereTheDesktopTellsIt) {
    world.desktop.panel = QColor(Qt::white);
    auto c = world.make(false, {2000, 40, 4});
    const QImage light = c->statusItem()->icon().pixmap(QSize(32, 32)).toImage();
    EXPECT_EQ(light.pixelColor(3, 8), QColor(Qt::white));
    const QImage disabled =
        c->statusItem()->icon().pixmap(QSize(32, 32), QIcon::Disabled).toImage();
    // Disabled: the same light glyph, half transparent; no edge, as the colour is known.
    EXPECT_EQ(disabled.pixelColor(3, 8).rgb(), QColor(Qt::white).rgb());
    EXPECT_LT(disabled.pixelColor(3, 8).alpha(), 200);
    EXPECT_EQ(light.pixelColor(1, 8).alpha(), 0) << "an edge where the colour is known";

    world.desktop.panel = QColor(200, 40, 40);
    c->refreshIcon();
    EXPECT_EQ(c->statusItem()->icon().pixmap(QSize(32, 32)).toImage().pixelColor(3, 8),
              QColor(200, 40, 40));
    world.desktop.panel.reset(); // no longer known: the toolkit's text colour again, edged
    c->refreshIcon();
    const QImage guessed = c->statusItem()->icon().pixmap(QSize(32, 32)).toImage();
    EXPECT_EQ(guessed.pixelColor(3, 8),
              QApplication::palette().color(QPalette::Active, QPalette::WindowText));
    EXPECT_GT(guessed.pixelColor(1, 8).alpha(), 0) << "no edge where the colour is a guess";
}

} // namespace
