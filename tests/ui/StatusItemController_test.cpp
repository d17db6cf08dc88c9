#include "BuildConfig.h"
#include "core/OCRHistoryStore.h"
#include "support/L10n.h"
#include "ui/StatusItemController.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString tr(const char* key) {
    return L10n::shared().string(QString::fromLatin1(key));
}

// The outside world as the tray item sees it, recording every call.
struct World {
    bool granted = true;
    bool prompted = false;
    bool feed = false;
    bool reduceMotion = false;
    Qt::KeyboardModifiers modifiers;
    QList<bool> captures;
    QStringList toasts;
    int requests = 0, settingsOpened = 0, settingsWindows = 0, updateChecks = 0, quits = 0;

    StatusItemController::Services services() {
        StatusItemController::Services s;
        s.permissionGranted = [this] { return granted; };
        s.didPromptPermission = [this] { return prompted; };
        s.requestPermission = [this] { ++requests, prompted = true; };
        s.openPermissionSettings = [this] { ++settingsOpened; };
        s.beginCapture = [this](bool hq) { captures.append(hq); };
        s.showToast = [this](const QString& text) { toasts.append(text); };
        s.showSettings = [this] { ++settingsWindows; };
        s.updateFeedConfigured = [this] { return feed; };
        s.checkForUpdates = [this] { ++updateChecks; };
        s.quit = [this] { ++quits; };
        s.reduceMotion = [this] { return reduceMotion; };
        s.keyboardModifiers = [this] { return modifiers; };
        return s;
    }
};

class StatusItemTest : public ::testing::Test {
protected:
    void SetUp() override { OCRHistoryStore::shared().setItems({}); }

    std::unique_ptr<StatusItemController> make(int refreshMs = 2000) {
        return std::make_unique<StatusItemController>(
            world.services(), StatusItemController::Timing{refreshMs}, nullptr);
    }
    // What opening the menu does.
    static QList<QAction*> open(StatusItemController& c) {
        Q_EMIT c.menu()->aboutToShow();
        return c.menu()->actions();
    }
    static QStringList titles(const QList<QAction*>& actions) {
        QStringList out;
        for (QAction* a : actions)
            out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
    static QAction* find(StatusItemController& c, const char* key) {
        for (QAction* a : c.menu()->actions())
            if (a->text() == tr(key))
                return a;
        return nullptr;
    }
    static void setHistory(const QStringList& texts) { // newest first
        QList<OCRHistoryStore::Capture> items;
        for (const QString& t : texts)
            items.append({QUuid::createUuid(), QDateTime::currentDateTimeUtc(), t});
        OCRHistoryStore::shared().setItems(items);
    }

    World world;
};

TEST_F(StatusItemTest, MenuOrderConditionsAndShortcutHints) {
    auto c = make();
    const QStringList base{tr("menu.capture"), tr("menu.captureHQ"), "-", tr("menu.settings"),
                           tr("menu.guide"),   tr("menu.about"),     "-", tr("menu.quit")};
    // Empty history: no recent section and no separator before it; no feed, no updates.
    EXPECT_EQ(titles(open(*c)), base);

    world.feed = true;
    QStringList withFeed = base;
    withFeed.insert(5, tr("menu.check_updates"));
    EXPECT_EQ(titles(open(*c)), withFeed);
    find(*c, "menu.check_updates")->trigger();
    EXPECT_EQ(world.updateChecks, 1);

    EXPECT_EQ(find(*c, "menu.capture")->shortcut(), QKeySequence("Ctrl+Shift+2"));
    EXPECT_EQ(find(*c, "menu.captureHQ")->shortcut(), QKeySequence("Ctrl+Alt+Shift+2"));
    EXPECT_EQ(find(*c, "menu.settings")->shortcut(), QKeySequence("Ctrl+,"));
    EXPECT_EQ(find(*c, "menu.quit")->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_TRUE(find(*c, "menu.quit")->isShortcutVisibleInContextMenu());
}

TEST_F(StatusItemTest, RecentCapturesNewestFiveCutAndCopied) {
    QStringList texts;
    for (int i = 0; i < 12; ++i)
        texts.append(QStringLiteral("capture %1").arg(i));
    const QString longText = QString(40, 'a') + "\n" + QString(39, 'b') + "\n" + QString(19, 'c');
    ASSERT_EQ(longText.size(), 100);
    texts.prepend(longText);
    setHistory(texts);
    auto c = make();
    QList<QAction*> actions = open(*c);

    ASSERT_EQ(titles(actions).mid(2, 7),
              (QStringList{"-", tr("menu.recent"), QString(40, 'a'), "capture 0", "capture 1",
                           "capture 2", "capture 3"}));
    EXPECT_FALSE(actions[3]->isEnabled()); // the heading
    EXPECT_TRUE(actions[9]->isSeparator());
    EXPECT_EQ(actions[10]->text(), tr("menu.settings"));
    EXPECT_EQ(std::count_if(actions.begin(), actions.end(),
                            [](QAction* a) { return !a->data().toUuid().isNull(); }),
              5);

    // The long entry: one line of its first 40 characters; the full text is copied, and the
    // confirmation shows even with the toast setting off.
    QGuiApplication::clipboard()->setText("before");
    actions[4]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), longText);
    EXPECT_EQ(world.toasts, QStringList{tr("toast.copied")});

    // Line feeds become spaces before the cut; characters count as the reader sees them; a
    // menu never reads an ampersand or a tab as markup.
    EXPECT_EQ(StatusItemController::recentTitle(QString(39, 'x') + "\nyz"), QString(39, 'x') + " ");
    const QString accented = QString("e\u0301").repeated(45);
    EXPECT_EQ(StatusItemController::recentTitle(accented), QString("e\u0301").repeated(40));
    EXPECT_EQ(StatusItemController::recentTitle("Tom & Jerry\tx"), "Tom && Jerry x");

    // An entry that went away while the menu was open copies nothing.
    OCRHistoryStore::shared().setItems({});
    actions[5]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), longText);
    EXPECT_EQ(world.toasts.size(), 1);
}

TEST_F(StatusItemTest, MenuIsRebuiltAtEveryOpening) {
    auto c = make();
    open(*c);
    EXPECT_EQ(find(*c, "menu.recent"), nullptr);
    setHistory({"fresh"});
    QList<QAction*> actions = open(*c);
    ASSERT_NE(find(*c, "menu.recent"), nullptr);
    EXPECT_EQ(actions[4]->text(), "fresh");
    EXPECT_EQ(actions[4]->data().toUuid(), OCRHistoryStore::shared().items()[0].id);
}

TEST_F(StatusItemTest, PermissionItemBadgeAndPromptOnce) {
    world.granted = false;
    auto c = make(20);
    EXPECT_TRUE(c->isBadged());
    EXPECT_EQ(c->iconState(), MenuBarIcon::State::PermissionWarning);
    EXPECT_TRUE(c->badge().isPulsing());
    EXPECT_EQ(c->statusItem()->toolTip(), "Glintext");
    QList<QAction*> actions = open(*c);
    ASSERT_EQ(actions[2]->text(), tr("menu.permissionNeeded"));

    actions[2]->trigger();
    actions[2]->trigger();
    EXPECT_EQ(world.requests, 1);
    EXPECT_EQ(world.settingsOpened, 2);

    // The desktop turned animations off: the dot stays, still.
    world.reduceMotion = true;
    c->refreshIcon();
    EXPECT_TRUE(c->badge().isVisible());
    EXPECT_FALSE(c->badge().isPulsing());

    // Granted elsewhere: the next refresh removes the dot without any user action.
    world.granted = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !c->isBadged(); }, 2000));
    EXPECT_FALSE(c->badge().isVisible());
    EXPECT_EQ(find(*c, "menu.permissionNeeded"), nullptr);
}

TEST_F(StatusItemTest, PromptedElsewhereOnlyOpensSettings) {
    world.granted = false;
    world.prompted = true;
    auto c = make();
    open(*c);
    find(*c, "menu.permissionNeeded")->trigger();
    EXPECT_EQ(world.requests, 0);
    EXPECT_EQ(world.settingsOpened, 1);
}

TEST_F(StatusItemTest, ClicksAndMenuActions) {
    auto c = make();
    QSystemTrayIcon* item = c->statusItem();
    Q_EMIT item->activated(QSystemTrayIcon::Trigger);
    Q_EMIT item->activated(QSystemTrayIcon::Context);
    Q_EMIT item->activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(world.captures, QList<bool>{false});

    // Control-click opens the menu instead; after it closes a click captures again.
    world.modifiers = Qt::ControlModifier;
    Q_EMIT item->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(c->menu()->isVisible());
    EXPECT_EQ(world.captures.size(), 1);
    c->menu()->hide();
    world.modifiers = {};
    Q_EMIT item->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(world.captures, (QList<bool>{false, false}));

    open(*c);
    find(*c, "menu.capture")->trigger();
    find(*c, "menu.captureHQ")->trigger();
    EXPECT_EQ(world.captures, (QList<bool>{false, false, false, true}));
    find(*c, "menu.settings")->trigger();
    EXPECT_EQ(world.settingsWindows, 1);
    find(*c, "menu.guide")->trigger(); // no callback yet: nothing happens
    int guides = 0;
    c->onShowOnboarding = [&] { ++guides; };
    find(*c, "menu.guide")->trigger();
    EXPECT_EQ(guides, 1);
    find(*c, "menu.quit")->trigger();
    EXPECT_EQ(world.quits, 1);

    find(*c, "menu.about")->trigger();
    QMessageBox* about = c->aboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(about->text().contains("Glintext"));
    EXPECT_EQ(about->informativeText(), QString(BuildConfig::version));
    find(*c, "menu.about")->trigger();
    EXPECT_EQ(c->aboutBox(), about); // one box, brought forward
}

TEST_F(StatusItemTest, IconFollowsPaletteAndPulses) {
    world.granted = false;
    auto c = std::make_unique<StatusItemController>(world.services(),
                                                    StatusItemController::Timing{2000, 40, 4});
    // The pulse sends new frames.
    const qint64 first = c->statusItem()->icon().cacheKey();
    EXPECT_TRUE(QTest::qWaitFor([&] { return c->statusItem()->icon().cacheKey() != first; }, 1000));

    world.granted = true;
    c->refreshIcon();
    const QPalette original = QApplication::palette();
    QPalette green = original;
    green.setColor(QPalette::WindowText, QColor(0, 200, 0));
    QApplication::setPalette(green);
    QCoreApplication::processEvents(); // widgets hear of it through posted events
    const QImage img = c->statusItem()->icon().pixmap(QSize(32, 32)).toImage();
    QApplication::setPalette(original);
    bool sawGreen = false;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) == 255)
                sawGreen |= img.pixelColor(x, y) == QColor(0, 200, 0);
    EXPECT_TRUE(sawGreen);
}

} // namespace
