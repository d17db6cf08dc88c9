// The Account and About tabs of the settings window, on real services; nothing listens at the
// service address, so a network call fails at once without leaving the machine.
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
#include "support/UpdaterController.h"
#include "ui/GTPillButton.h"
#include "ui/settings/AboutTab.h"
#include "ui/settings/AccountTab.h"
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

#include <QDesktopServices>
#include <QNetworkAccessManager>
#include <QTest>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

QString freshFile(const char* name) {
    static int serial = 0;
    return TestEnvironment::home() + QString("/%1-%2.json").arg(name).arg(++serial);
}

QString en(const char* key) {
    return L10n::string(QString::fromLatin1(key), AppLanguage::en);
}

// Takes the addresses the application would hand to the browser.
class BrowserStandIn : public QObject {
    Q_OBJECT
public:
    BrowserStandIn() {
        QDesktopServices::setUrlHandler("http", this, "open");
        QDesktopServices::setUrlHandler("https", this, "open");
    }
    ~BrowserStandIn() override {
        QDesktopServices::unsetUrlHandler("http");
        QDesktopServices::unsetUrlHandler("https");
    }
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

ToggleSwitch* switchNamed(QWidget* page, const QString& name) {
    for (ToggleSwitch* toggle : page->findChildren<ToggleSwitch*>()) {
        if (toggle->accessibleName() == name)
            return toggle;
    }
    return nullptr;
}

class AccountAndAboutTabs : public ::testing::Test {
protected:
    AccountAndAboutTabs() { l10n.apply(QStringLiteral("en")); }
    ~AccountAndAboutTabs() override { l10n.apply(QStringLiteral("en")); }

    // An account as a finished sign-in leaves it in the keyring.
    void storeAccount(const QString& email) {
        secrets.items.insert(CloudAccount::tokenItem, "token-1");
        secrets.items.insert(CloudAccount::emailItem, email.toUtf8());
        secrets.items.insert(CloudAccount::tierItem, "free");
    }

    std::unique_ptr<UpdaterController> makeUpdater() {
        UpdaterController::Options options;
        options.feedUrl = QUrl("http://127.0.0.1:1/appcast.xml");
        options.currentVersion = "0.1.0";
        return std::make_unique<UpdaterController>(network, defaults, options);
    }

    Defaults defaults{freshFile("account-about")};
    FakeLoginItem login;
    AppSettings settings{defaults, login};
    DefaultsLanguageStore languageStore{defaults};
    L10n l10n{languageStore};
    QNetworkAccessManager network;
    CloudClient client{network, QUrl("http://127.0.0.1:1")};
    FakeSecretStore secrets;
    Keychain keychain{secrets};
};

} // namespace

TEST_F(AccountAndAboutTabs, AccountTabSignsInThroughTheBrowserAndFollowsTheAccount) {
    CloudAccount account{keychain, client};
    CloudSync sync{settings, account, keychain, client, defaults};
    AccountTab tab(account, sync, l10n);
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    EXPECT_EQ(tab.accountRow()->title(), en("acct.signedOutTitle"));
    EXPECT_EQ(tab.accountRow()->subtitle(), en("acct.signedOutBody"));
    EXPECT_TRUE(tab.signInButton()->isVisible());
    EXPECT_FALSE(tab.signOutButton()->isVisible());
    EXPECT_EQ(tab.signInButton()->titleText(), en("acct.signIn"));

    // The button starts the browser sign-in: the service's page with this app's challenge.
    BrowserStandIn browser;
    QTest::mouseClick(tab.signInButton(), Qt::LeftButton);
    ASSERT_EQ(browser.opened.size(), 1);
    const QUrl page = browser.opened.first();
    EXPECT_TRUE(page.path().endsWith("/app/connect")) << page.toString().toStdString();
    EXPECT_EQ(QUrlQuery(page).queryItemValue("app"), "glintext");
    EXPECT_FALSE(QUrlQuery(page).queryItemValue("challenge").isEmpty());
}

TEST_F(AccountAndAboutTabs, AccountTabShowsTheIdentityAndSignsOut) {
    storeAccount("reader@example.org");
    CloudAccount account{keychain, client};
    CloudSync sync{settings, account, keychain, client, defaults};
    AccountTab tab(account, sync, l10n);
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    EXPECT_EQ(tab.accountRow()->title(), en("acct.signedIn"));
    EXPECT_EQ(tab.accountRow()->subtitle(), "reader@example.org");
    EXPECT_FALSE(tab.signInButton()->isVisible());
    ASSERT_TRUE(tab.signOutButton()->isVisible());

    QTest::mouseClick(tab.signOutButton(), Qt::LeftButton);
    EXPECT_FALSE(account.state().isSignedIn());
    EXPECT_FALSE(secrets.items.contains(CloudAccount::tokenItem));
    EXPECT_EQ(tab.accountRow()->title(), en("acct.signedOutTitle"));
    EXPECT_TRUE(tab.signInButton()->isVisible());
    EXPECT_FALSE(tab.signOutButton()->isVisible());

    // And relabels in the new language while open.
    l10n.apply(QStringLiteral("de"));
    EXPECT_EQ(tab.accountRow()->title(), L10n::string("acct.signedOutTitle", AppLanguage::de));
    EXPECT_EQ(tab.signInButton()->titleText(), L10n::string("acct.signIn", AppLanguage::de));
    EXPECT_EQ(tab.syncSwitch()->accessibleName(), L10n::string("acct.sync", AppLanguage::de));
}

TEST_F(AccountAndAboutTabs, SyncSwitchWritesTheEngineFlagAndFollowsIt) {
    CloudAccount account{keychain, client};
    CloudSync sync{settings, account, keychain, client, defaults};
    AccountTab tab(account, sync, l10n);
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    ToggleSwitch* toggle = switchNamed(&tab, en("acct.sync"));
    ASSERT_EQ(toggle, tab.syncSwitch());
    EXPECT_EQ(toggle->isChecked(), sync.enabled());
    const bool before = sync.enabled();
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(sync.enabled(), !before);
    EXPECT_EQ(toggle->isChecked(), !before);
    sync.setEnabled(before); // from elsewhere
    EXPECT_EQ(toggle->isChecked(), before);
}

TEST_F(AccountAndAboutTabs, AboutTabHasNoUpdateControlsWithoutAnUpdater) {
    AboutTab tab(settings, l10n);
    EXPECT_EQ(tab.autoUpdateSwitch(), nullptr);
    EXPECT_EQ(tab.checkNowButton(), nullptr);
    EXPECT_EQ(switchNamed(&tab, en("gen.autoUpdate")), nullptr);
    for (GTPillButton* button : tab.findChildren<GTPillButton*>())
        EXPECT_NE(button->titleText(), en("common.checkNow"));
    // The reporting switches are there all the same, bound to their settings.
    ToggleSwitch* crash = switchNamed(&tab, en("gen.crashReports"));
    ToggleSwitch* improve = switchNamed(&tab, en("priv.improve"));
    ASSERT_TRUE(crash && improve);
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    const bool crashBefore = settings.value(Settings::crashReportingEnabled);
    QTest::mouseClick(crash, Qt::LeftButton);
    EXPECT_EQ(settings.value(Settings::crashReportingEnabled), !crashBefore);
    settings.set(Settings::improveDataSharing, false);
    EXPECT_FALSE(improve->isChecked());
    settings.set(Settings::improveDataSharing, true);
    EXPECT_TRUE(improve->isChecked());
}

TEST_F(AccountAndAboutTabs, AboutTabUpdateSwitchWritesTheFlagAndRereadsItWhenShown) {
    auto updater = makeUpdater();
    updater->setAutomaticallyChecksForUpdates(true);
    AboutTab tab(settings, l10n, updater.get());
    ASSERT_TRUE(tab.autoUpdateSwitch() && tab.checkNowButton());
    EXPECT_EQ(tab.autoUpdateSwitch()->accessibleName(), en("gen.autoUpdate"));
    EXPECT_EQ(tab.checkNowButton()->titleText(), en("common.checkNow"));
    tab.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    EXPECT_TRUE(tab.autoUpdateSwitch()->isChecked());

    QTest::mouseClick(tab.autoUpdateSwitch(), Qt::LeftButton);
    EXPECT_FALSE(updater->automaticallyChecksForUpdates()); // at once
    EXPECT_FALSE(tab.autoUpdateSwitch()->isChecked());

    // Changed elsewhere while hidden: the tab shows the stored value when shown again.
    tab.hide();
    updater->setAutomaticallyChecksForUpdates(true);
    tab.show();
    EXPECT_TRUE(tab.autoUpdateSwitch()->isChecked());

    // "Check now" is the user's check: its outcome is always reported.
    QList<UpdaterController::Result> results;
    QObject::connect(updater.get(), &UpdaterController::checkFinished,
                     [&](const UpdaterController::Result& result) { results << result; });
    QTest::mouseClick(tab.checkNowButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.isEmpty(); }, 10000));
    EXPECT_TRUE(results.last().userInitiated);
}

TEST_F(AccountAndAboutTabs, TheWindowShowsUpdateControlsOnlyWithAnUpdater) {
    OCRHistoryStore history{settings, freshFile("history"), 10ms};
    FakeScreenPermission permission;
    Permissions permissions{permission, defaults};
    CloudAccount account{keychain, client};
    CloudSync sync{settings, account, keychain, client, defaults};
    FakeProcessLog processLog;
    FakeClock clock;
    TesterMode testerMode{defaults, client, processLog, clock};
    SettingsWindowController controller{
        SettingsServices{settings, l10n, history, permissions, account, sync, testerMode, clock}};
    auto aboutTab = [&] {
        controller.show(SettingsTab::About);
        return qobject_cast<AboutTab*>(controller.window()->page(SettingsTab::About));
    };
    AboutTab* without = aboutTab();
    ASSERT_TRUE(without);
    EXPECT_EQ(without->autoUpdateSwitch(), nullptr);
    EXPECT_EQ(without->checkNowButton(), nullptr);
    controller.window()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    auto updater = makeUpdater();
    controller.setUpdater(updater.get());
    AboutTab* with = aboutTab();
    ASSERT_TRUE(with);
    EXPECT_NE(with->autoUpdateSwitch(), nullptr);
    EXPECT_NE(with->checkNowButton(), nullptr);
    controller.window()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

#include "AccountAndAboutTabs_test.moc"
