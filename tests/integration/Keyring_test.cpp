// The keychain on a real Secret Service (gnome-keyring on a bus of the test's own), and on
// sessions where the keyring is missing or locked behind a prompt nobody answers.
#include "core/Keychain.h"
#include "platform/secret/KeyringSecretStore.h"
#include "platform/secret/LibsecretKeyringAccess.h"

#include "support/PrivateKeyring.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QString schema = "io.glintext.Glintext";

std::unique_ptr<KeyringSecretStore> openStore(std::chrono::milliseconds limit = 5s) {
    return std::make_unique<KeyringSecretStore>(std::make_unique<LibsecretKeyringAccess>(schema),
                                                limit);
}

} // namespace

#define REQUIRE_KEYRING(keyring)                                                                   \
    if (!(keyring).ready())                                                                        \
    GTEST_SKIP() << (keyring).problem().toStdString()

TEST(Keyring, ItemsKeepTheKeychainRulesAndOutliveTheProcess) {
    PrivateKeyring& keyring = PrivateKeyring::get(PrivateKeyring::Kind::Unlocked);
    REQUIRE_KEYRING(keyring);
    {
        const auto store = openStore();
        Keychain keychain(*store);
        EXPECT_EQ(keychain.get("never"), std::nullopt);
        keychain.set("", "empty");
        EXPECT_EQ(keychain.get("empty"), QString(""));
        keychain.set("first", "twice");
        keychain.set("second", "twice");
        keychain.set("doomed", "gone");
        keychain.set(std::nullopt, "gone");
        keychain.remove("absent");
        keychain.set(QString::fromUtf8("Grüße ✓ 日本"), "text");
        ASSERT_TRUE(keychain.flush(10s));
    }
    // What the keyring itself holds, as another program sees it.
    EXPECT_EQ(keyring.lookup(schema, "empty"), QByteArray(""));
    EXPECT_EQ(keyring.lookup(schema, "twice"), QByteArray("second"));
    EXPECT_EQ(keyring.lookup(schema, "gone"), std::nullopt);
    EXPECT_EQ(keyring.lookup(schema, "text"), QByteArray("Grüße ✓ 日本"));
    EXPECT_EQ(keyring.count(schema), 3) << "one item per account";

    // A later run reads them back; bytes that are no UTF-8 read as nothing.
    keyring.store(schema, "binary", "\xff\xfe\xfd");
    const auto store = openStore();
    Keychain keychain(*store);
    EXPECT_EQ(keychain.get("empty"), QString(""));
    EXPECT_EQ(keychain.get("twice"), "second");
    EXPECT_EQ(keychain.get("text"), QString::fromUtf8("Grüße ✓ 日本"));
    EXPECT_EQ(keychain.get("gone"), std::nullopt);
    EXPECT_EQ(keychain.get("binary"), std::nullopt);
}

TEST(Keyring, WithoutASecretServiceEverythingAnswersNothingAtOnce) {
    PrivateKeyring& keyring = PrivateKeyring::get(PrivateKeyring::Kind::NoService);
    REQUIRE_KEYRING(keyring);
    QElapsedTimer timer;
    timer.start();
    const auto store = openStore(10s); // the bound is not what ends the wait here
    Keychain keychain(*store);
    EXPECT_EQ(keychain.get("cloudToken"), std::nullopt);
    keychain.set("for this run", "cloudToken");
    EXPECT_EQ(keychain.get("cloudToken"), "for this run");
    EXPECT_TRUE(keychain.flush(10s));
    EXPECT_LT(timer.elapsed(), 3000);

    QCoreApplication::processEvents();
    const QString log =
        QString::fromUtf8(TestEnvironment::readFile(TestEnvironment::dataDir() + "/tester.log"));
    EXPECT_EQ(log.count("Keychain: the keyring did not take or give the items"), 1)
        << log.toStdString();
    EXPECT_FALSE(log.contains("for this run"));
}

TEST(Keyring, ALockedKeyringWhosePromptNobodyAnswersReadsAsNothingWithinTheBound) {
    PrivateKeyring& keyring = PrivateKeyring::get(PrivateKeyring::Kind::LockedPrompt);
    REQUIRE_KEYRING(keyring);
    QElapsedTimer timer;
    timer.start();
    qint64 closing = 0;
    {
        const auto store = openStore(700ms);
        Keychain keychain(*store);
        EXPECT_EQ(keychain.get("probe"), std::nullopt);
        const qint64 waited = timer.elapsed();
        EXPECT_GE(waited, 650);
        EXPECT_LT(waited, 3000);
        // The prompt is really there (or on its way), waiting for a person.
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return keyring.hasOwner("org.gnome.keyring.SystemPrompter") ||
                   keyring.hasOwner("org.gnome.keyring.PrivatePrompter");
        }));
        keychain.set("t", "cloudToken");
        EXPECT_EQ(keychain.get("cloudToken"), "t");
        EXPECT_FALSE(keychain.flush(100ms));
        closing = timer.elapsed();
    }
    EXPECT_LT(timer.elapsed() - closing, 3000) << "closing the store must give up, not hang";
}

TEST(Keyring, ALockedKeyringUnlockedLateDeliversItsItemsThen) {
    PrivateKeyring& keyring = PrivateKeyring::get(PrivateKeyring::Kind::LockedPrompt);
    REQUIRE_KEYRING(keyring);
    const auto store = openStore(300ms);
    Keychain keychain(*store);
    QSignalSpy arrived(&keychain, &Keychain::itemsArrived);
    EXPECT_EQ(keychain.get("probe"), std::nullopt);
    keychain.set("written meanwhile", "cloudEmail");

    ASSERT_TRUE(keyring.answerPrompt());
    ASSERT_TRUE(QTest::qWaitFor([&] { return arrived.count() == 1; }, 15000));
    EXPECT_EQ(keychain.get("probe"), "probe");
    EXPECT_TRUE(keychain.flush(10s)) << "the write waiting behind the prompt goes through";
    EXPECT_EQ(keyring.lookup(schema, "cloudEmail"), QByteArray("written meanwhile"));
}
