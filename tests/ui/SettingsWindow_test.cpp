#include "core/AppSettings.h"
#include "core/CloudAccount.h"
#include "core/CloudClient.h"
#include "core/CloudSync.h"
#include "core/Defaults.h"
#include "core/Keychain.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "core/TesterMode.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "ui/GTDropdown.h"
#include "ui/GTPillButton.h"
#include "ui/settings/AppIconButton.h"
#include "ui/settings/GeneralTab.h"
#include "ui/settings/KeyChips.h"
#include "ui/settings/PermissionsTab.h"
#include "ui/settings/RecognitionTab.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsView.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/settings/ToggleSwitch.h"

#include "support/TestEnvironment.h"
#include "support/fakes/FakeClock.h"
#include "support/fakes/FakeLoginItem.h"
#include "support/fakes/FakeProcessLog.h"
#include "support/fakes/FakeScreenPermission.h"
#include "support/fakes/FakeSecretStore.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QListWidget>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

QString freshFile(const char* name) {
    static int serial = 0;
    return TestEnvironment::home() + QString("/%1-%2.json").arg(name).arg(++serial);
}

// Every service the window works with, real but for the desktop's parts; nothing listens
// at the service address, so a network call fails at once without leaving the machine.
class SettingsWindowTest : public ::testing::Test {
protected:
    SettingsWindowTest() {
        // What the application's root does: a chosen language relabels every window.
        QObject::connect(&settings, &AppSettings::changed, &l10n, [this](const QString& key) {
            if (key == QLatin1String(Settings::languageCode.key))
                l10n.apply(settings.value(Settings::languageCode));
        });
        l10n.apply(QStringLiteral("en"));
    }
    ~SettingsWindowTest() override { l10n.apply(QStringLiteral("en")); }

    SettingsView& open(std::optional<SettingsTab> tab = std::nullopt) {
        controller.show(tab);
        SettingsView* view = controller.window();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view));
        return *view;
    }
    template <typename T> T* pageOf(SettingsTab tab) {
        return qobject_cast<T*>(controller.window()->page(tab));
    }
    static void closeAndDrop(QWidget* window) {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    Defaults defaults{freshFile("settings-window")};
    FakeLoginItem login;
    AppSettings settings{defaults, login};
    OCRHistoryStore history{settings, freshFile("history"), 10ms};
    FakeScreenPermission permission;
    Permissions permissions{permission, defaults};
    DefaultsLanguageStore languageStore{defaults};
    L10n l10n{languageStore};
    QNetworkAccessManager network;
    CloudClient client{network, QUrl("http://127.0.0.1:1")};
    FakeSecretStore secrets;
    Keychain keychain{secrets};
    CloudAccount account{keychain, client};
    CloudSync sync{settings, account, keychain, client, defaults};
    FakeProcessLog processLog;
    FakeClock clock;
    TesterMode testerMode{defaults, client, processLog, clock};
    SettingsWindowController controller{SettingsServices{settings, l10n, history, permissions,
                                                         account, sync, testerMode, clock, 20ms}};
};

ToggleSwitch* switchNamed(QWidget* page, const QString& name) {
    for (ToggleSwitch* toggle : page->findChildren<ToggleSwitch*>()) {
        if (toggle->accessibleName() == name)
            return toggle;
    }
    return nullptr;
}

QStringList sidebarTexts(SettingsView& view) {
    QStringList texts;
    for (int row = 0; row < view.sidebarList()->count(); ++row)
        texts << view.sidebarList()->item(row)->text();
    return texts;
}

QStringList optionTitles(const GTDropdown* dropdown) {
    QStringList titles;
    for (const GTDropdown::Option& option : dropdown->options())
        titles << option.title;
    return titles;
}

} // namespace

TEST_F(SettingsWindowTest, EverySwitchWritesItsSettingAndFollowsAChangeMadeElsewhere) {
    struct Case {
        SettingsTab tab;
        const char* titleKey;
        const Setting<bool>& setting;
    };
    const Case cases[] = {
        {SettingsTab::General, "gen.launchLogin", Settings::launchAtLogin},
        {SettingsTab::History, "rec.cleanup", Settings::cleanupEnabled},
        {SettingsTab::History, "rec.qr", Settings::detectQR},
        {SettingsTab::History, "rec.hud", Settings::showHUD},
        {SettingsTab::History, "rec.sound", Settings::soundEnabled},
        {SettingsTab::History, "hist.keep", Settings::keepHistory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.titleKey);
        open(c.tab);
        ToggleSwitch* toggle =
            switchNamed(controller.window()->page(c.tab), l10n.string(c.titleKey));
        ASSERT_NE(toggle, nullptr);
        const bool before = settings.value(c.setting);
        EXPECT_EQ(toggle->isChecked(), before);

        QTest::mouseClick(toggle, Qt::LeftButton);
        EXPECT_EQ(settings.value(c.setting), !before);
        // The keyboard: Space on the focused switch.
        toggle->setFocus();
        QTest::keyClick(toggle, Qt::Key_Space);
        EXPECT_EQ(settings.value(c.setting), before);

        // Sync (or any other writer) changes the store: the switch shows it at once.
        settings.set(c.setting, !before);
        EXPECT_EQ(toggle->isChecked(), !before);
        settings.set(c.setting, before);
        EXPECT_EQ(toggle->isChecked(), before);
    }
}

TEST_F(SettingsWindowTest, ASwitchIsACheckBoxNamedByItsRowThatAScreenReaderCanToggle) {
    open(SettingsTab::History);
    ToggleSwitch* toggle =
        switchNamed(pageOf<QWidget>(SettingsTab::History), "Read QR codes and barcodes");
    ASSERT_NE(toggle, nullptr);
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(toggle);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), QAccessible::CheckBox);
    EXPECT_EQ(access->text(QAccessible::Name), "Read QR codes and barcodes");
    EXPECT_EQ(access->text(QAccessible::Description),
              "Copies the decoded content when a code is in the selection");
    EXPECT_TRUE(access->state().checkable);
    EXPECT_TRUE(access->state().checked);
    EXPECT_TRUE(access->state().focusable);

    QAccessibleActionInterface* actions = access->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(settings.value(Settings::detectQR));
    EXPECT_FALSE(access->state().checked);

    // A disabled switch offers nothing and ignores the action.
    toggle->setEnabled(false);
    EXPECT_TRUE(actions->actionNames().isEmpty());
    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(settings.value(Settings::detectQR));
}

TEST_F(SettingsWindowTest, TheLanguagePickerRelabelsTheOpenWindow) {
    SettingsView& view = open(SettingsTab::General);
    auto* general = pageOf<GeneralTab>(SettingsTab::General);
    GTDropdown* picker = general->languagePicker();
    EXPECT_EQ(picker->text(), "System");
    EXPECT_EQ(optionTitles(picker).value(0), "System");
    EXPECT_TRUE(optionTitles(picker).contains("日本語"));
    EXPECT_EQ(view.shownTitle(), "General");

    const QStringList english = sidebarTexts(view);
    picker->pick(int(optionTitles(picker).indexOf("Deutsch")));
    EXPECT_EQ(settings.value(Settings::languageCode), std::optional<QString>("de"));
    EXPECT_EQ(view.shownTitle(), "Allgemein");
    EXPECT_EQ(view.shownSubtitle(), l10n.string("sub.general"));
    EXPECT_NE(sidebarTexts(view), english);
    EXPECT_EQ(sidebarTexts(view).value(0), "Allgemein");
    EXPECT_EQ(picker->text(), "Deutsch");
    // The rows and the other tabs follow too, counts included.
    EXPECT_NE(l10n.string("gen.launchLogin"), "Launch Glintext at login");
    EXPECT_NE(switchNamed(general, l10n.string("gen.launchLogin")), nullptr);
    auto* recognition = pageOf<RecognitionTab>(SettingsTab::History);
    EXPECT_EQ(optionTitles(recognition->limitPicker()).value(0), "25 Einträge");
    EXPECT_EQ(recognition->clearRow()->subtitle(), "0 Einträge gespeichert");

    // Back to the system's language: the key goes, the window follows.
    picker->pick(0);
    EXPECT_EQ(settings.value(Settings::languageCode), std::nullopt);
    EXPECT_EQ(picker->selection().toString(), QString());
    // A language arriving from another machine shows in the picker and the window.
    settings.set(Settings::languageCode, QString("ja"));
    EXPECT_EQ(picker->text(), "日本語");
    EXPECT_EQ(view.shownTitle(), L10n::string("tab.general", AppLanguage::ja));
}

TEST_F(SettingsWindowTest, TheHistorySizePickerShowsItemCountsAndPrunes) {
    for (int i = 0; i < 60; ++i)
        history.add(QString("capture %1").arg(i));
    open(SettingsTab::History);
    auto* tab = pageOf<RecognitionTab>(SettingsTab::History);
    EXPECT_EQ(optionTitles(tab->limitPicker()),
              QStringList({"25 items", "50 items", "100 items", "300 items", "1,000 items"}));
    EXPECT_EQ(tab->limitPicker()->text(), "100 items");
    EXPECT_EQ(tab->clearRow()->subtitle(), "60 captures stored");

    tab->limitPicker()->pick(0);
    EXPECT_EQ(settings.value(Settings::historyLimit), 25);
    EXPECT_EQ(history.items().size(), 25);
    EXPECT_EQ(history.items().first().text, "capture 59"); // the newest are kept
    EXPECT_EQ(tab->clearRow()->subtitle(), "25 captures stored");
    EXPECT_EQ(tab->limitPicker()->text(), "25 items");

    // The count is live, singular included.
    history.setItems({history.items().first()});
    EXPECT_EQ(tab->clearRow()->subtitle(), "1 capture stored");
    // A limit set elsewhere shows at once.
    settings.set(Settings::historyLimit, 300);
    EXPECT_EQ(tab->limitPicker()->text(), "300 items");
}

TEST_F(SettingsWindowTest, ShowWithoutATabKeepsItAndWithATabSwitchesInPlace) {
    SettingsView& view = open();
    EXPECT_EQ(view.size(), QSize(760, 520));
    EXPECT_EQ(view.minimumSize(), QSize(720, 480));
    EXPECT_EQ(view.shownTitle(), "General");

    QSignalSpy shown(&controller, &SettingsWindowController::shown);
    controller.show(SettingsTab::Account);
    EXPECT_EQ(controller.window(), &view);
    EXPECT_EQ(view.shownTitle(), "Account");
    EXPECT_EQ(view.sidebarList()->currentRow(), 4);
    view.setWindowState(Qt::WindowMinimized);
    controller.show();
    EXPECT_EQ(controller.window(), &view);
    EXPECT_FALSE(view.windowState() & Qt::WindowMinimized);
    EXPECT_EQ(view.shownTitle(), "Account");
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1][0].value<SettingsTab>(), SettingsTab::Account);

    // The sidebar moves the tab with the keyboard.
    view.sidebarList()->setFocus();
    QTest::keyClick(view.sidebarList(), Qt::Key_Up);
    EXPECT_EQ(controller.router().selected(), SettingsTab::Permissions);
    EXPECT_EQ(view.shownSubtitle(), "System permissions Glintext needs.");

    // Closing drops the window and its widgets; the next show builds them again and keeps
    // the tab.
    QPointer<QWidget> page = view.page(SettingsTab::General);
    closeAndDrop(&view);
    EXPECT_EQ(controller.window(), nullptr);
    EXPECT_TRUE(page.isNull());
    SettingsView& again = open();
    EXPECT_EQ(again.shownTitle(), "Permissions");
    EXPECT_EQ(again.sidebarList()->currentRow(), 3);
}

TEST_F(SettingsWindowTest, PermissionsTabPollsWhileShownAndGrantsByTheFlow) {
    permission.granted = false;
    open(SettingsTab::Permissions);
    auto* tab = pageOf<PermissionsTab>(SettingsTab::Permissions);
    EXPECT_FALSE(tab->showsGranted());
    EXPECT_TRUE(tab->grantButton()->isVisible());
    EXPECT_TRUE(tab->isPolling());

    // First press: the desktop's prompt, and the flow's start remembered.
    tab->grantButton()->click();
    EXPECT_EQ(permission.requests, 1);
    EXPECT_EQ(permission.opened, 0);
    EXPECT_GT(defaults.doubleValue("permissionFlowStartedAt").value_or(0), 0);
    // Later presses open the desktop's settings instead.
    tab->grantButton()->click();
    EXPECT_EQ(permission.requests, 1);
    EXPECT_EQ(permission.opened, 1);

    // Granted in the desktop: the next poll shows it.
    permission.granted = true;
    QTRY_VERIFY_WITH_TIMEOUT(tab->showsGranted(), 2000);
    EXPECT_FALSE(tab->grantButton()->isVisible());

    // Off screen, no polling.
    controller.show(SettingsTab::General);
    EXPECT_FALSE(tab->isPolling());
    permission.granted = false;
    QTest::qWait(80);
    EXPECT_TRUE(tab->showsGranted());
    controller.show(SettingsTab::Permissions);
    EXPECT_FALSE(tab->showsGranted()); // read again when shown
}

TEST_F(SettingsWindowTest, TheGrantButtonLeavesAnEarlierPromptOfThisRunAlone) {
    permission.granted = false;
    permissions.requestScreenRecording(); // a capture asked first
    defaults.remove("permissionFlowStartedAt");
    open(SettingsTab::Permissions);
    auto* tab = pageOf<PermissionsTab>(SettingsTab::Permissions);
    tab->grantButton()->click();
    EXPECT_EQ(permission.requests, 1);
    EXPECT_EQ(permission.opened, 0);
    EXPECT_TRUE(defaults.contains("permissionFlowStartedAt"));

    // Already granted: the press only shows it.
    permission.granted = true;
    tab->grantButton()->click();
    EXPECT_TRUE(tab->showsGranted());
    EXPECT_EQ(permission.requests + permission.opened, 1);
}

TEST_F(SettingsWindowTest, EightQuickTapsOnTheIconSwitchTesterMode) {
    SettingsView& view = open();
    auto* icon = view.findChild<AppIconButton*>();
    ASSERT_NE(icon, nullptr);
    for (int i = 0; i < 7; ++i) {
        QTest::mouseClick(icon, Qt::LeftButton);
        clock.advance(500);
    }
    EXPECT_FALSE(testerMode.enabled());
    QTest::mouseClick(icon, Qt::LeftButton);
    EXPECT_TRUE(testerMode.enabled());
    EXPECT_TRUE(icon->ringShown());
    // A pause restarts the count.
    for (int i = 0; i < 7; ++i)
        QTest::mouseClick(icon, Qt::LeftButton);
    clock.advance(2500);
    QTest::mouseClick(icon, Qt::LeftButton);
    EXPECT_TRUE(testerMode.enabled());
    testerMode.toggle();
}

TEST_F(SettingsWindowTest, TheKeyboardReachesEveryControlOfATabInOrder) {
    SettingsView& view = open(SettingsTab::History);
    view.activateWindow();
    view.sidebarList()->setFocus();
    QStringList reached;
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        if (focus == view.sidebarList())
            break;
        reached << focus->metaObject()->className() + QString(":") + focus->accessibleName();
    }
    EXPECT_EQ(
        reached,
        QStringList(
            {"ToggleSwitch:Clean up recognized text", "ToggleSwitch:Read QR codes and barcodes",
             "ToggleSwitch:Show on-screen confirmation", "ToggleSwitch:Play sound on capture",
             "ToggleSwitch:Keep capture history", "GTDropdown:History size", "GTPillButton:"}));
    // The window is a window to a screen reader, named by its title.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Settings — Glintext");
    // The sidebar's tabs are list items named by their titles.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view.sidebarList());
    ASSERT_NE(list, nullptr);
    QStringList items;
    for (int i = 0; i < list->childCount(); ++i) {
        if (list->child(i)->role() == QAccessible::ListItem)
            items << list->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(items, QStringList(
                         {"General", "Recognition", "Privacy", "Permissions", "Account", "About"}));
}

TEST_F(SettingsWindowTest, KeyCapsShowTheRegisteredShortcuts) {
    open(SettingsTab::General);
    const QList<KeyChips*> general =
        pageOf<QWidget>(SettingsTab::General)->findChildren<KeyChips*>();
    ASSERT_EQ(general.size(), 1);
    EXPECT_EQ(general[0]->keys(), QStringList({"Ctrl", "Shift", "2"}));
    const QList<KeyChips*> hq = pageOf<QWidget>(SettingsTab::History)->findChildren<KeyChips*>();
    ASSERT_EQ(hq.size(), 1);
    EXPECT_EQ(hq[0]->keys(), QStringList({"Ctrl", "Alt", "Shift", "2"}));
    EXPECT_EQ(hq[0]->accessibleName(), "Ctrl+Alt+Shift+2");
}

TEST_F(SettingsWindowTest, KeyCapsAreNamedInTheInterfaceLanguage) {
    open(SettingsTab::General);
    KeyChips* keys = pageOf<QWidget>(SettingsTab::General)->findChild<KeyChips*>();
    ASSERT_NE(keys, nullptr);
    settings.set(Settings::languageCode, QString("de"));
    if (QKeySequence(Qt::ControlModifier | Qt::Key_2).toString(QKeySequence::NativeText) ==
        "Ctrl+2")
        GTEST_SKIP() << "Qt's German translations (qt6-translations-l10n) are not installed";
    EXPECT_EQ(keys->keys(), QStringList({"Strg", "Umschalt", "2"}));
    settings.set(Settings::languageCode, std::nullopt);
    l10n.apply(QStringLiteral("en"));
    EXPECT_EQ(keys->keys(), QStringList({"Ctrl", "Shift", "2"}));
}

namespace {

// Answers the next modal message box with the button titled `title`; the box's text is kept.
void answerNextBox(const QString& title, QString* text) {
    QTimer::singleShot(0, [title, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *text = box->text();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == title)
                button->click();
        }
    });
}

} // namespace

TEST_F(SettingsWindowTest, ClearAsksFirstAndOnlyConfirmingEmptiesTheHistory) {
    history.add("one");
    history.add("two");
    open(SettingsTab::History);
    auto* tab = pageOf<RecognitionTab>(SettingsTab::History);
    EXPECT_EQ(tab->clearButton()->text(), "Clear…");

    QString asked;
    answerNextBox(l10n.string("common.cancel"), &asked);
    tab->clearButton()->click();
    EXPECT_EQ(asked, l10n.string("clear.title"));
    EXPECT_EQ(history.items().size(), 2);
    EXPECT_EQ(tab->clearRow()->subtitle(), "2 captures stored");

    answerNextBox(l10n.string("clear.all"), &asked);
    tab->clearButton()->click();
    EXPECT_TRUE(history.items().isEmpty());
    EXPECT_EQ(tab->clearRow()->subtitle(), "0 captures stored");
}

TEST_F(SettingsWindowTest, AClickOnASidebarTabShowsItAndAHiddenSwitchTakesNoClick) {
    SettingsView& view = open(SettingsTab::General);
    QListWidget* list = view.sidebarList();
    const QRect privacy = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, privacy.center());
    EXPECT_EQ(controller.router().selected(), SettingsTab::Privacy);
    EXPECT_EQ(view.shownTitle(), "Privacy");

    // A switch faded out to nothing is not clickable, as the pills are not.
    controller.show(SettingsTab::General);
    ToggleSwitch* login = switchNamed(view.page(SettingsTab::General), "Launch Glintext at login");
    ASSERT_NE(login, nullptr);
    const bool before = login->isChecked();
    auto* fade = new QGraphicsOpacityEffect(login);
    fade->setOpacity(0.005);
    login->setGraphicsEffect(fade);
    QTest::mouseClick(login, Qt::LeftButton);
    EXPECT_EQ(settings.value(Settings::launchAtLogin), before);
    fade->setOpacity(1.0);
    QTest::mouseClick(login, Qt::LeftButton);
    EXPECT_EQ(settings.value(Settings::launchAtLogin), !before);
}
