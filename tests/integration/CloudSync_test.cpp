// Settings sync against the reference service on loopback: first sign-in in both directions,
// the debounced upload, no echo of an applied document, conflicts, the switch, documents this
// machine cannot read, failures, and uploads that overlap.
#include "core/AppSettings.h"
#include "core/CloudAccount.h"
#include "core/CloudClient.h"
#include "core/CloudSync.h"
#include "core/Defaults.h"
#include "core/Keychain.h"
#include "core/SyncPayload.h"

#include "support/ReferenceService.h"
#include "support/TestEnvironment.h"
#include "support/fakes/FakeLoginItem.h"
#include "support/fakes/FakeSecretStore.h"

#include <QCoroTask>
#include <QFile>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Status = CloudSync::Status;

namespace {

const QString documentPath = "/api/sync/glintext";

class CloudSyncTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.isRunning()) << service.startupError().toStdString();
        QFile::remove(defaultsPath);
        me = service.createAccount("sync@example.org");
        keyring.items = {{"cloudToken", me.token.toUtf8()},
                         {"cloudEmail", me.email.toUtf8()},
                         {"cloudDeviceId", "DEVICE-HERE"}};
    }

    // The engine as the application builds it, signed in unless the keyring says otherwise.
    CloudSync& engine(std::chrono::milliseconds debounce = 100ms) {
        defaults = std::make_unique<Defaults>(defaultsPath);
        settings = std::make_unique<AppSettings>(*defaults, loginItem);
        keychain = std::make_unique<Keychain>(keyring);
        account = std::make_unique<CloudAccount>(*keychain, client);
        sync = std::make_unique<CloudSync>(*settings, *account, *keychain, client, *defaults,
                                           debounce);
        return *sync;
    }

    // Another machine of the same account puts `blob` on the service; returns the version.
    qint64 uploadElsewhere(const QString& blob) {
        const qint64 current =
            service.http().get(documentPath, me.token).json().value("version").toInteger();
        const auto result = service.http().put(
            documentPath, {{"blob", blob}, {"baseVersion", current}, {"deviceId", "ELSEWHERE"}},
            me.token);
        EXPECT_EQ(result.status, 200);
        return result.json().value("version").toInteger();
    }

    QList<QJsonObject> requests(const QByteArray& method) {
        QList<QJsonObject> list;
        for (const QJsonObject& r : service.received(documentPath)) {
            if (r.value("method").toString() == QString::fromLatin1(method))
                list << r;
        }
        return list;
    }
    qsizetype uploads() { return requests("PUT").size(); }
    qsizetype downloads() { return requests("GET").size(); }

    bool waitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, 15000);
    }
    // Runs until the engine rests (idle or failed) with `count` requests to the document made.
    bool settle(qsizetype count) {
        return waitFor(
            [&] { return sync->status() != Status::Syncing && uploads() + downloads() == count; });
    }

    qint64 storedVersion() { return defaults->integerValue("cloudSyncBaseVersion").value_or(0); }
    std::optional<QString> storedBlob() { return defaults->stringValue("cloudSyncLastBlob"); }

    ReferenceService service;
    ReferenceService::Account me;
    QNetworkAccessManager network;
    CloudClient client{network, service.baseUrl()};
    QString defaultsPath = TestEnvironment::home() + "/sync-defaults.json";
    FakeSecretStore keyring;
    FakeLoginItem loginItem;
    std::unique_ptr<Defaults> defaults;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<Keychain> keychain;
    std::unique_ptr<CloudAccount> account;
    std::unique_ptr<CloudSync> sync;
};

} // namespace

TEST_F(CloudSyncTest, ANewerServiceDocumentIsAppliedAtStartUpWithoutAnUpload) {
    const QString theirs = R"({"cleanupEnabled":true,"detectQR":true,"historyLimit":25,)"
                           R"("improveDataSharing":true,"keepHistory":true,"languageCode":"de",)"
                           R"("showHUD":false,"soundEnabled":true})";
    for (int i = 0; i < 4; ++i)
        uploadElsewhere(R"({"showHUD":true})");
    ASSERT_EQ(uploadElsewhere(theirs), 5);
    service.clearReceived();

    engine().start(); // signed in already: the current state starts a download
    ASSERT_TRUE(settle(1));
    EXPECT_EQ(sync->status(), Status::Idle);
    EXPECT_FALSE(settings->value(Settings::showHUD));
    EXPECT_EQ(settings->value(Settings::languageCode), "de");
    EXPECT_EQ(settings->value(Settings::historyLimit), 25);
    EXPECT_EQ(storedVersion(), 5);
    EXPECT_EQ(storedBlob(), theirs); // the service's text, not a new snapshot
    QTest::qWait(300);               // longer than the upload wait: nothing echoes back
    EXPECT_EQ(uploads(), 0);
    EXPECT_EQ(requests("GET").first().value("auth").toString(), "valid");

    // A later publication of the signed-in state (a refresh) downloads again; both sides are
    // equal, so nothing more happens.
    QCoro::waitFor(account->refresh());
    ASSERT_TRUE(settle(2));
    EXPECT_EQ(sync->status(), Status::Idle);
    EXPECT_EQ(uploads(), 0);
}

TEST_F(CloudSyncTest, WithoutADocumentTheLocalSettingsAreUploadedOnTopOfVersionZero) {
    engine();
    settings->set(Settings::soundEnabled, false);
    sync->start();
    ASSERT_TRUE(settle(2));
    EXPECT_EQ(sync->status(), Status::Idle);
    const QList<QJsonObject> puts = requests("PUT");
    ASSERT_EQ(puts.size(), 1);
    const QJsonObject body = puts.first().value("json").toObject();
    EXPECT_EQ(body.value("baseVersion").toInteger(-1), 0);
    EXPECT_EQ(body.value("deviceId").toString(), "DEVICE-HERE");
    EXPECT_EQ(body.value("blob").toString().toUtf8(), sync->snapshotBlob());
    EXPECT_EQ(puts.first().value("contentType").toString(), "application/json");
    EXPECT_FALSE(requests("GET").first().value("contentType").toString().contains("json"));
    EXPECT_EQ(storedVersion(), 1);
    EXPECT_EQ(storedBlob(), QString::fromUtf8(sync->snapshotBlob()));
}

TEST_F(CloudSyncTest, ABurstOfChangesIsOneUploadAndChangesThatDoNotTravelAreNone) {
    engine(300ms).start();
    ASSERT_TRUE(settle(2)); // the first upload
    const qint64 first = storedVersion();

    settings->set(Settings::launchAtLogin, false);
    settings->set(Settings::crashReportingEnabled, false);
    QTest::qWait(600);
    EXPECT_EQ(uploads(), 1);

    for (const bool on : {false, true, false, true, false}) {
        settings->set(Settings::showHUD, on);
        QTest::qWait(40);
    }
    ASSERT_TRUE(settle(3));
    QTest::qWait(400);
    EXPECT_EQ(uploads(), 2);
    const QJsonObject body = requests("PUT").last().value("json").toObject();
    EXPECT_EQ(body.value("baseVersion").toInteger(-1), first);
    EXPECT_TRUE(body.value("blob").toString().contains(R"("showHUD":false)"));
    EXPECT_EQ(storedVersion(), first + 1);
}

TEST_F(CloudSyncTest, AnAppliedDocumentSchedulesNoUploadAndAnUnreadableOneIsOnlyRecorded) {
    engine().start();
    ASSERT_TRUE(settle(2));
    const qint64 newer = uploadElsewhere(R"({"keepHistory":false,"showHUD":false})");
    service.clearReceived();

    sync->setEnabled(true); // switching on downloads, as a sign-in does
    ASSERT_TRUE(waitFor([&] { return !settings->value(Settings::showHUD); }));
    ASSERT_TRUE(settle(1));
    QTest::qWait(300);
    EXPECT_EQ(uploads(), 0);
    EXPECT_FALSE(settings->value(Settings::keepHistory));
    EXPECT_EQ(storedVersion(), newer);

    const QString unreadable = R"({"historyLimit":"lots","showHUD":true})";
    const qint64 later = uploadElsewhere(unreadable);
    sync->setEnabled(true);
    ASSERT_TRUE(waitFor([&] { return storedVersion() == later; }));
    EXPECT_EQ(sync->status(), Status::Idle);
    EXPECT_FALSE(settings->value(Settings::showHUD)); // nothing applied
    EXPECT_EQ(storedBlob(), unreadable);

    // The next local change replaces the document this machine could not read.
    settings->set(Settings::detectQR, false);
    ASSERT_TRUE(waitFor([&] { return storedVersion() == later + 1; }));
    EXPECT_EQ(
        SyncPayload::decode(
            service.http().get(documentPath, me.token).json().value("blob").toString().toUtf8())
            ->value("detectQR"),
        QJsonValue(false));
}

TEST_F(CloudSyncTest, AConflictGivesWayToTheServiceDocument) {
    engine().start();
    ASSERT_TRUE(settle(2));
    // The service refuses the next upload although this machine's base is current: the forced
    // download applies its document all the same, and the local edit is not uploaded.
    service.queueAnswer(documentPath, 409, QJsonObject{{"version", storedVersion()}});
    settings->set(Settings::soundEnabled, false);
    ASSERT_TRUE(waitFor([&] { return settings->value(Settings::soundEnabled); }));
    ASSERT_TRUE(settle(4));
    EXPECT_EQ(sync->status(), Status::Idle);
    EXPECT_EQ(requests("PUT").size(), 2);

    // A real conflict: another machine moved on.
    const QString theirs = R"({"cleanupEnabled":false,"soundEnabled":true})";
    const qint64 newer = uploadElsewhere(theirs);
    service.clearReceived();
    settings->set(Settings::soundEnabled, false);
    ASSERT_TRUE(waitFor(
        [&] { return storedVersion() == newer && !settings->value(Settings::cleanupEnabled); }));
    EXPECT_TRUE(settings->value(Settings::soundEnabled));
    EXPECT_EQ(storedBlob(), theirs);
    EXPECT_EQ(requests("PUT").first().value("status").toInt(), 409);
}

TEST_F(CloudSyncTest, AServiceThatRefusesEveryUploadAndHoldsNothingEndsInOneRound) {
    engine().start();
    ASSERT_TRUE(settle(2));
    service.clearReceived();
    service.queueAnswer(documentPath, 409);                              // the upload
    service.queueAnswer(documentPath, 200, QJsonObject{{"version", 0}}); // the forced download
    service.queueAnswer(documentPath, 409);                              // the upload it makes
    service.queueAnswer(documentPath, 200, QJsonObject{{"version", 0}}); // never asked for
    settings->set(Settings::keepHistory, false);
    ASSERT_TRUE(waitFor([&] { return sync->status() == Status::Error; }));
    QTest::qWait(500);
    EXPECT_EQ(uploads(), 2);
    EXPECT_EQ(downloads(), 1);
    EXPECT_EQ(sync->status(), Status::Error);
}

TEST_F(CloudSyncTest, SwitchedOffNothingIsSentAndSwitchingOnCatchesUp) {
    engine().start();
    ASSERT_TRUE(settle(2));
    QSignalSpy switched(sync.get(), &CloudSync::enabledChanged);
    sync->setEnabled(false);
    EXPECT_EQ(defaults->boolValue("cloudSyncEnabled"), false);
    settings->set(Settings::showHUD, false);
    QCoro::waitFor(account->refresh()); // a sign-in published while off does nothing either
    QTest::qWait(400);
    EXPECT_EQ(uploads() + downloads(), 2);

    // The switch outlives the process.
    engine();
    EXPECT_FALSE(sync->enabled());
    sync->start();
    sync->setEnabled(true);
    ASSERT_TRUE(settle(4)); // a download, then the edit made meanwhile goes up
    EXPECT_TRUE(requests("PUT").last().value("json").toObject().value("blob").toString().contains(
        R"("showHUD":false)"));
    EXPECT_EQ(switched.size(), 1);
}

TEST_F(CloudSyncTest, FailuresEndAsAStatusAndTheNextChangeTriesAgain) {
    engine();
    QSignalSpy statuses(sync.get(), &CloudSync::statusChanged);
    service.queueAnswer(documentPath, 500);
    sync->start();
    ASSERT_TRUE(waitFor([&] { return sync->status() == Status::Error; }));
    EXPECT_EQ(statuses.size(), 2); // syncing, error
    EXPECT_EQ(storedVersion(), 0);

    service.queueAnswer(documentPath, 401);
    sync->setEnabled(true);
    ASSERT_TRUE(settle(2));
    EXPECT_EQ(sync->status(), Status::Idle);
    EXPECT_TRUE(keyring.items.contains("cloudToken")); // signing out is not ours to do

    service.queueAnswer(documentPath, 200, QJsonObject{{"version", 0}});
    service.queueAnswer(documentPath, 503);
    sync->setEnabled(true);
    ASSERT_TRUE(settle(4));
    EXPECT_EQ(sync->status(), Status::Error);
    EXPECT_FALSE(storedBlob());

    settings->set(Settings::detectQR, false);
    ASSERT_TRUE(settle(5));
    EXPECT_EQ(sync->status(), Status::Idle);
    EXPECT_EQ(storedVersion(), 1);

    // Signed out: nothing runs and the status stays as it was.
    keyring.items.remove("cloudToken");
    statuses.clear();
    sync->setEnabled(true);
    settings->set(Settings::detectQR, true);
    QTest::qWait(300);
    EXPECT_EQ(uploads() + downloads(), 5);
    EXPECT_TRUE(statuses.isEmpty());
    EXPECT_EQ(storedVersion(), 1); // kept for the next sign-in
}

TEST_F(CloudSyncTest, AChangeMadeWhileAnUploadIsOnItsWayFollowsItInsteadOfClashing) {
    engine().start();
    ASSERT_TRUE(settle(2));
    const qint64 base = storedVersion();
    service.queueDelay(documentPath, 800);
    settings->set(Settings::soundEnabled, false);
    ASSERT_TRUE(waitFor([&] { return sync->status() == Status::Syncing; }));
    settings->set(Settings::keepHistory, false); // checked while the upload is still out
    ASSERT_TRUE(waitFor([&] { return storedVersion() == base + 2; }));
    ASSERT_TRUE(settle(4));
    for (const QJsonObject& put : requests("PUT"))
        EXPECT_EQ(put.value("status").toInt(), 200);
    EXPECT_FALSE(settings->value(Settings::soundEnabled));
    EXPECT_FALSE(settings->value(Settings::keepHistory));
    EXPECT_EQ(storedBlob(), QString::fromUtf8(sync->snapshotBlob()));
}
