// Update checks against the reference service's feed, over real HTTP on loopback.
#include "core/Defaults.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "support/UpdaterController.h"
#include "ui/UpdateDialog.h"

#include "support/ReferenceService.h"

#include <QLabel>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Outcome = UpdaterController::Result::Outcome;

namespace {

QJsonObject release(const QString& version, const QString& shortVersion) {
    return {{"version", version},
            {"shortVersionString", shortVersion},
            {"url", "https://example.org/glintext-" + version + ".tar.gz"},
            {"releaseNotesLink", "https://example.org/notes/" + version + ".html"}};
}

struct Feed {
    Feed() : defaults(dir.path() + "/defaults.json"), store(defaults), l10n(store) {}

    std::unique_ptr<UpdaterController> make(const QString& current = "0.1.0",
                                            std::chrono::milliseconds interval = 24h) {
        UpdaterController::Options options;
        options.feedUrl = service.baseUrl().resolved(QUrl("/appcast.xml"));
        options.currentVersion = current;
        options.checkInterval = interval;
        options.now = [this] { return now; };
        auto updater = std::make_unique<UpdaterController>(network, defaults, options);
        QObject::connect(updater.get(), &UpdaterController::checkFinished,
                         [this](const UpdaterController::Result& r) { results << r; });
        return updater;
    }

    bool waitForResults(qsizetype count) {
        return QTest::qWaitFor([&] { return results.size() >= count; }, 10000);
    }

    ReferenceService service;
    QTemporaryDir dir;
    Defaults defaults;
    DefaultsLanguageStore store;
    L10n l10n;
    QNetworkAccessManager network;
    QDateTime now = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    QList<UpdaterController::Result> results;
};

TEST(UpdaterController, OffersTheNewestReleaseAfterThisBuild) {
    Feed feed;
    ASSERT_TRUE(feed.service.isRunning()) << feed.service.startupError().toStdString();
    auto updater = feed.make("0.9");

    // An empty feed, then only older and equal releases: up to date.
    updater->checkForUpdates();
    ASSERT_TRUE(feed.waitForResults(1));
    EXPECT_EQ(feed.results[0].outcome, Outcome::UpToDate);
    EXPECT_TRUE(feed.results[0].userInitiated);
    feed.service.setAppcastItems({release("0.8", "0.8"), release("0.9", "0.9")});
    updater->checkForUpdates();
    ASSERT_TRUE(feed.waitForResults(2));
    EXPECT_EQ(feed.results[1].outcome, Outcome::UpToDate);

    // "0.10" is newer than "0.9" though it sorts lower as text; the feed's order is no hint.
    feed.service.setAppcastItems(
        {release("0.9.1", "0.9.1"), release("0.10", "0.10 beta"), release("0.9.5", "0.9.5")});
    updater->checkForUpdates();
    ASSERT_TRUE(feed.waitForResults(3));
    ASSERT_EQ(feed.results[2].outcome, Outcome::UpdateAvailable);
    const Appcast::Item item = *feed.results[2].item;
    EXPECT_EQ(item.version, "0.10");
    EXPECT_EQ(item.shortVersion, "0.10 beta");
    EXPECT_EQ(item.downloadUrl, QUrl("https://example.org/glintext-0.10.tar.gz"));
    EXPECT_EQ(item.releaseNotesLink, QUrl("https://example.org/notes/0.10.html"));
    EXPECT_EQ(feed.service.received("/appcast.xml").size(), 3);

    // The dialog shows it and its button opens the download.
    QList<QUrl> opened;
    UpdateDialog dialog(feed.results[2], feed.l10n, [&](const QUrl& url) { opened << url; });
    EXPECT_TRUE(dialog.message().contains("0.10 beta"));
    ASSERT_TRUE(dialog.downloadButton());
    ASSERT_TRUE(dialog.notesLink());
    dialog.downloadButton()->click();
    Q_EMIT dialog.notesLink()->linkActivated("notes");
    EXPECT_EQ(opened, QList<QUrl>({item.downloadUrl, item.releaseNotesLink}));

    // The open dialog follows a change of the interface language.
    feed.l10n.apply(QStringLiteral("ja"));
    EXPECT_EQ(dialog.headline(), L10n::string("update.available", AppLanguage::ja));
    EXPECT_EQ(dialog.windowTitle(), L10n::string("update.title", AppLanguage::ja));
    EXPECT_TRUE(dialog.message().contains("0.10 beta")) << dialog.message().toStdString();
    EXPECT_TRUE(dialog.message().contains(feed.results[2].currentVersion));
    EXPECT_FALSE(dialog.message().contains(QString::fromUtf8("。 "))); // no space between
    EXPECT_EQ(dialog.downloadButton()->text(), L10n::string("update.download", AppLanguage::ja));
    feed.l10n.apply(QStringLiteral("en"));
}

TEST(UpdaterController, FailuresAreReportedToTheUserOnly) {
    Feed feed;
    ASSERT_TRUE(feed.service.isRunning());
    auto updater = feed.make();
    feed.service.queueAnswer("/appcast.xml", 500, QJsonObject{{"error", "boom"}});
    updater->checkForUpdates();
    ASSERT_TRUE(feed.waitForResults(1));
    EXPECT_EQ(feed.results[0].outcome, Outcome::Failed);
    EXPECT_TRUE(feed.results[0].error.contains("500"));
    UpdateDialog dialog(feed.results[0], feed.l10n, [](const QUrl&) {});
    EXPECT_FALSE(dialog.downloadButton());
    EXPECT_TRUE(dialog.message().contains("500"));
    // What the network says is shown as it is, never as markup.
    UpdaterController::Result markup = feed.results[0];
    markup.error = "<b>bad</b> <img src=x>";
    UpdateDialog plain(markup, feed.l10n, [](const QUrl&) {});
    EXPECT_TRUE(plain.message().endsWith("<b>bad</b> <img src=x>"));
    for (QLabel* label : plain.findChildren<QLabel*>()) {
        if (label->text() == plain.message())
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }

    // A page that is not a feed is a failure, not "up to date".
    UpdaterController::Options options;
    options.feedUrl = feed.service.baseUrl().resolved(QUrl("/"));
    options.currentVersion = "0.1.0";
    UpdaterController wrongPage(feed.network, feed.defaults, options);
    std::optional<UpdaterController::Result> result;
    QObject::connect(&wrongPage, &UpdaterController::checkFinished,
                     [&](const UpdaterController::Result& r) { result = r; });
    wrongPage.checkForUpdates();
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 10000));
    EXPECT_EQ(result->outcome, Outcome::Failed);
}

TEST(UpdaterController, ChecksDailyWhileTheFlagIsOn) {
    Feed feed;
    ASSERT_TRUE(feed.service.isRunning());
    feed.service.setAppcastItems({release("0.2.0", "0.2")});
    auto updater = feed.make("0.1.0", 50ms);
    EXPECT_TRUE(updater->automaticallyChecksForUpdates()); // on until turned off

    // Never checked: due at once. An automatic check that finds a release reports it.
    EXPECT_EQ(updater->nextCheckDue(), feed.now);
    updater->start();
    ASSERT_TRUE(feed.waitForResults(1));
    EXPECT_FALSE(feed.results[0].userInitiated);
    EXPECT_EQ(feed.defaults.doubleValue(UpdaterController::lastCheckKey),
              double(feed.now.toSecsSinceEpoch()));
    EXPECT_EQ(updater->nextCheckDue(), feed.now.addMSecs(50));

    // (Every 50 ms it checks again until turned off.)
    // Off: no more requests, persisted; a new controller (a restart) keeps it off.
    updater->setAutomaticallyChecksForUpdates(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !updater->isChecking(); }, 10000));
    feed.service.clearReceived();
    QTest::qWait(200);
    EXPECT_TRUE(feed.service.received("/appcast.xml").isEmpty());
    EXPECT_FALSE(feed.make()->automaticallyChecksForUpdates());
    EXPECT_FALSE(feed.make()->nextCheckDue().isValid());

    // Back on after a restart: due a day after the last check, not at once.
    updater.reset();
    feed.defaults.setBool(UpdaterController::automaticChecksKey, true);
    auto restarted = feed.make("0.1.0", 24h);
    EXPECT_EQ(restarted->nextCheckDue(), feed.now.addDays(1));
    // Up to date on an automatic check: nothing to show.
    feed.service.setAppcastItems({});
    const qsizetype shown = feed.results.size();
    auto quiet = feed.make("0.1.0", 1ms);
    feed.defaults.remove(UpdaterController::lastCheckKey);
    quiet->start();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !feed.service.received("/appcast.xml").isEmpty(); }, 10000));
    QTest::qWait(50);
    EXPECT_EQ(feed.results.size(), shown);
}

} // namespace
