// The keyring store's promises over a keyring that answers late, refuses, or never answers:
// bounded waits, this run's writes winning, order kept on the way to the keyring.
#include "core/Keychain.h"
#include "platform/secret/KeyringAccess.h"
#include "platform/secret/KeyringSecretStore.h"

#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

using namespace std::chrono_literals;

namespace {

// A keyring whose first read waits until the test lets it go (as an unlock prompt waits for
// the user) and that remembers what reached it.
class LateKeyring : public KeyringAccess {
public:
    Items loadAll() override {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return released || cancelled; });
        if (cancelled)
            return {false, {}, "cancelled"};
        return answer;
    }
    bool store(const QString& account, const QByteArray& value, QString* error) override {
        return record("store " + account + "=" + QString::fromUtf8(value), error);
    }
    bool clear(const QString& account, QString* error) override {
        return record("clear " + account, error);
    }
    void cancel() override {
        const std::lock_guard lock(mutex);
        cancelled = heedsCancel;
        changed.notify_all();
    }
    void release() {
        const std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
    QStringList received() {
        const std::lock_guard lock(mutex);
        return calls;
    }

    Items answer{true, {}, {}};
    bool refuseWrites = false;
    bool heedsCancel = true; // false: the call does not return even when cancelled

private:
    bool record(const QString& call, QString* error) {
        const std::lock_guard lock(mutex);
        calls << call;
        if (refuseWrites && error)
            *error = "refused";
        return !refuseWrites;
    }

    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    bool cancelled = false;
    QStringList calls;
};

qint64 msToRead(SecretStore& store, const QString& account, std::optional<QByteArray>* value) {
    QElapsedTimer timer;
    timer.start();
    *value = store.read(account);
    return timer.elapsed();
}

} // namespace

TEST(KeyringSecretStore, OnlyTheFirstReadWaitsAndOnlyBoundedlyThenLateItemsArrive) {
    auto owned = std::make_unique<LateKeyring>();
    LateKeyring& keyring = *owned;
    keyring.answer.values = {{"cloudToken", "stored-token"}, {"cloudEmail", "old@example.org"}};
    KeyringSecretStore store(std::move(owned), 150ms);
    QSignalSpy arrived(&store, &SecretStore::itemsArrived);

    std::optional<QByteArray> value;
    const qint64 first = msToRead(store, "cloudToken", &value);
    EXPECT_EQ(value, std::nullopt);
    EXPECT_GE(first, 140);
    EXPECT_LT(first, 1500);
    EXPECT_LT(msToRead(store, "cloudEmail", &value), 50) << "a second wait would stall the GUI";
    EXPECT_EQ(value, std::nullopt);

    // What this run writes counts at once, and the late answer does not overwrite it.
    store.write("cloudEmail", "new@example.org");
    EXPECT_EQ(store.read("cloudEmail"), "new@example.org");
    EXPECT_FALSE(store.flush(50ms)) << "the write waits behind the unanswered read";

    keyring.release();
    // The worker may announce it before the wait begins.
    ASSERT_TRUE(QTest::qWaitFor([&] { return arrived.count() == 1; }, 5000));
    EXPECT_EQ(store.read("cloudToken"), "stored-token");
    EXPECT_EQ(store.read("cloudEmail"), "new@example.org");
    EXPECT_TRUE(store.flush(5s));
    EXPECT_EQ(keyring.received(), QStringList{"store cloudEmail=new@example.org"});
}

TEST(KeyringSecretStore, WritesReachTheKeyringInOrderAndARefusalIsReportedOnce) {
    auto owned = std::make_unique<LateKeyring>();
    LateKeyring& keyring = *owned;
    keyring.answer.values = {{"a", "1"}};
    keyring.refuseWrites = true;
    keyring.release();
    KeyringSecretStore store(std::move(owned));
    Keychain keychain(store);

    EXPECT_EQ(keychain.get("a"), "1");
    keychain.set("2", "a");
    keychain.remove("a");
    keychain.set("3", "b");
    keychain.set(std::nullopt, "c");
    ASSERT_TRUE(keychain.flush(5s));
    EXPECT_EQ(keyring.received(), (QStringList{"store a=2", "clear a", "store b=3", "clear c"}));
    // The keyring refused, yet this run stays consistent with what it was told.
    EXPECT_EQ(keychain.get("a"), std::nullopt);
    EXPECT_EQ(keychain.get("b"), "3");

    QCoreApplication::processEvents(); // the refusals arrive queued from the worker
    const QString log =
        QString::fromUtf8(TestEnvironment::readFile(TestEnvironment::dataDir() + "/tester.log"));
    EXPECT_EQ(log.count("Keychain: the keyring did not take or give the items (refused)"), 1)
        << log.toStdString();
}

TEST(KeyringSecretStore, ClosingNeverHangsOnAKeyringThatDoesNotAnswer) {
    for (const bool heedsCancel : {true, false}) {
        auto owned = std::make_unique<LateKeyring>();
        owned->heedsCancel = heedsCancel;
        QElapsedTimer timer;
        timer.start();
        {
            KeyringSecretStore store(std::move(owned), 20ms);
            store.write("cloudToken", "t");
            EXPECT_EQ(store.read("cloudToken"), "t");
            EXPECT_EQ(store.read("cloudEmail"), std::nullopt);
        }
        // A cancelled call ends the worker at once; one that never returns is left behind.
        const qint64 limit = heedsCancel ? 1000 : KeyringSecretStore::shutdownLimit.count() + 1000;
        EXPECT_LT(timer.elapsed(), limit) << "heeds cancel: " << heedsCancel;
    }
}

TEST(Keychain, TextIsUtf8AndAnEmptyTextIsAValue) {
    auto owned = std::make_unique<LateKeyring>();
    owned->answer.values = {{"bad", "\xff\xfe"}, {"bom", "\xef\xbb\xbfx"}, {"empty", ""}};
    owned->release();
    KeyringSecretStore store(std::move(owned));
    Keychain keychain(store);

    EXPECT_EQ(keychain.get("bad"), std::nullopt);
    EXPECT_EQ(keychain.get("bom"), QString(QChar(0xFEFF)) + "x");
    EXPECT_EQ(keychain.get("empty"), QString(""));
    EXPECT_EQ(keychain.get("missing"), std::nullopt);

    keychain.set(QString::fromUtf8("Grüße ✓ 日本"), "text");
    EXPECT_EQ(store.read("text"), QByteArray("Grüße ✓ 日本"));
    // A lone surrogate has no UTF-8 form: the item goes, as for no value at all.
    keychain.set(QString(QChar(0xD800)), "text");
    EXPECT_EQ(keychain.get("text"), std::nullopt);
}
