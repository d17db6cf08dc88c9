#include "core/AppSettings.h"
#include "core/OCRHistoryStore.h"
#include "support/L10n.h"
#include "ui/ClearHistoryDialog.h"

#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>

using namespace std::chrono_literals;
using Capture = OCRHistoryStore::Capture;

namespace {

constexpr auto shortDelay = 150ms;

QString freshPath(const char* name) {
    const QString dir = TestEnvironment::home() + "/history-" + name;
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    return dir + "/history.json";
}

int fileMode(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 07777);
}

void useLimits(bool keep, qint64 limit) {
    AppSettings::shared().setKeepHistory(keep);
    AppSettings::shared().setHistoryLimit(limit);
}

QList<Capture> numbered(int count) {
    QList<Capture> list;
    const QDateTime base = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
    for (int i = count - 1; i >= 0; --i) // newest first
        list.append({QUuid::createUuid(), base.addSecs(i), QString::number(i)});
    return list;
}

class HistoryStore : public ::testing::Test {
protected:
    void SetUp() override { useLimits(true, 100); }
    void TearDown() override { useLimits(true, 100); }
};

} // namespace

TEST_F(HistoryStore, BurstOfAddsGivesOneWriteOneDelayAfterTheLastChange) {
    EXPECT_EQ(OCRHistoryStore(freshPath("delay")).saveDelay(), 1000ms);
    EXPECT_EQ(OCRHistoryStore::shared().saveDelay(), 1000ms);
    EXPECT_EQ(OCRHistoryStore::shared().filePath(), TestEnvironment::dataDir() + "/history.json");

    const QString path = freshPath("burst");
    OCRHistoryStore store(path, shortDelay);
    QSignalSpy saved(&store, &OCRHistoryStore::saved);
    QElapsedTimer sinceLast;
    for (int i = 0; i < 10; ++i) {
        store.add(QString("capture %1").arg(i));
        sinceLast.start();
        QTest::qWait(int(shortDelay.count() / 5)); // well inside the delay
    }
    EXPECT_EQ(saved.count(), 0);
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_TRUE(saved.wait(2000));
    EXPECT_GE(sinceLast.elapsed(), shortDelay.count() - 5);
    QTest::qWait(int(shortDelay.count() * 2));
    EXPECT_EQ(saved.count(), 1);
    const auto onDisk = OCRHistoryStore::decode(TestEnvironment::readFile(path));
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(*onDisk, store.items());
    EXPECT_EQ(onDisk->first().text, "capture 9");
    EXPECT_EQ(fileMode(path), 0600);
}

TEST_F(HistoryStore, AddHonoursKeepHistoryAndTheLimit) {
    OCRHistoryStore store(freshPath("limits"), shortDelay);
    store.setItems(numbered(3));
    store.saveNow();

    useLimits(false, 100);
    EXPECT_EQ(store.add("ignored"), std::nullopt);
    EXPECT_EQ(store.items().size(), 3);
    EXPECT_FALSE(store.isSavePending());

    // 25 entries at limit 25: one more drops the oldest.
    useLimits(true, 25);
    store.setItems(numbered(25));
    const auto id = store.add("newest");
    ASSERT_TRUE(id);
    ASSERT_EQ(store.items().size(), 25);
    EXPECT_EQ(store.items().first().id, *id);
    EXPECT_EQ(store.items().last().text, "1"); // "0" was the oldest
    // The same text twice is two entries.
    store.add("newest");
    EXPECT_EQ(store.items()[0].text, store.items()[1].text);
    EXPECT_NE(store.items()[0].id, store.items()[1].id);

    // 1000 -> 25 with 300 entries keeps the 25 newest; 0 acts as 1.
    useLimits(true, 1000);
    store.setItems(numbered(300));
    store.saveNow();
    store.prune();
    EXPECT_FALSE(store.isSavePending()); // nothing to drop, nothing to save
    useLimits(true, 25);
    store.prune();
    ASSERT_EQ(store.items().size(), 25);
    EXPECT_EQ(store.items().first().text, "299");
    EXPECT_EQ(store.items().last().text, "275");
    EXPECT_TRUE(store.isSavePending());
    useLimits(true, 0);
    store.prune();
    ASSERT_EQ(store.items().size(), 1);
    EXPECT_EQ(store.items().first().text, "299");
    useLimits(true, -5);
    store.add("only");
    ASSERT_EQ(store.items().size(), 1);

    // A file larger than the limit is cut down at start.
    const QString path = freshPath("startprune");
    TestEnvironment::writeFile(path, OCRHistoryStore::encode(numbered(40)));
    useLimits(true, 25);
    OCRHistoryStore reloaded(path, shortDelay);
    ASSERT_EQ(reloaded.items().size(), 25);
    EXPECT_EQ(reloaded.items().first().text, "39");
}

TEST_F(HistoryStore, ReplaceKeepsPlaceIdAndDateAndIgnoresGoneIds) {
    OCRHistoryStore store(freshPath("replace"), shortDelay);
    const QList<Capture> before = numbered(5);
    store.setItems(before);
    store.saveNow();
    QSignalSpy changed(&store, &OCRHistoryStore::itemsChanged);

    store.replace(before[2].id, "refined");
    ASSERT_EQ(store.items().size(), 5);
    EXPECT_EQ(store.items()[2], (Capture{before[2].id, before[2].date, "refined"}));
    EXPECT_EQ(store.items()[1], before[1]);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(store.isSavePending());

    store.saveNow();
    store.replace(QUuid::createUuid(), "nobody");
    EXPECT_FALSE(store.isSavePending());
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(HistoryStore, FileRoundTripsAndHasTheDocumentedForm) {
    const QString path = freshPath("roundtrip");
    OCRHistoryStore store(path, shortDelay);
    const QStringList texts = {R"(She said "hi" \ and left)",
                               "https://example.com/a/b?c=d",
                               "emoji 😀👍🏽 and 🇯🇵",
                               "縦書きの日本語テキスト 中文 한국어",
                               "two\nlines\tand tab",
                               QString(QChar(0x01)) + "ctl",
                               ""};
    for (const QString& text : texts)
        store.add(text);
    // A date with a fraction in memory is written and read back to the second.
    QList<Capture> items = store.items();
    items.last().date = QDateTime::fromMSecsSinceEpoch(1'700'000'000'987, Qt::UTC);
    store.setItems(items);
    store.saveNow();

    const QByteArray raw = TestEnvironment::readFile(path);
    EXPECT_FALSE(raw.contains('\n')); // compact
    EXPECT_TRUE(raw.startsWith('['));
    EXPECT_TRUE(raw.contains(R"(https:\/\/example.com\/a\/b?c=d)"));
    EXPECT_FALSE(QString::fromUtf8(raw).contains(QRegularExpression(R"([^\\]/)")));
    EXPECT_TRUE(raw.contains(R"("date":"2023-11-14T22:13:20Z")"));
    for (const Capture& c : store.items()) {
        const QByteArray id = c.id.toString(QUuid::WithoutBraces).toUpper().toLatin1();
        EXPECT_TRUE(raw.contains("\"id\":\"" + id + "\"")) << id.constData();
    }

    OCRHistoryStore reread(path, shortDelay);
    ASSERT_EQ(reread.items().size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(reread.items()[i].id, store.items()[i].id);
        EXPECT_EQ(reread.items()[i].text, texts[texts.size() - 1 - i]);
    }
    EXPECT_EQ(reread.items().first().date, store.items().first().date);
    EXPECT_EQ(reread.items().last().date.toMSecsSinceEpoch(), 1'700'000'000'000);

    // Readers take other writers' forms: member order, plain slashes, lower case, offsets.
    const auto other = OCRHistoryStore::decode(
        R"([{"text":"a/b","date":"2024-01-02T03:04:05+09:00","id":"0f8fad5b-d9cb-469f-a165-70867728950e","extra":1}])");
    ASSERT_TRUE(other);
    ASSERT_EQ(other->size(), 1);
    EXPECT_EQ(other->first().text, "a/b");
    EXPECT_EQ(other->first().id, QUuid("{0f8fad5b-d9cb-469f-a165-70867728950e}"));
    EXPECT_EQ(other->first().date, QDateTime(QDate(2024, 1, 1), QTime(18, 4, 5), Qt::UTC));
    EXPECT_EQ(OCRHistoryStore::decode("[]"), QList<Capture>{});
}

TEST_F(HistoryStore, UndecodableFilesLeaveTheStoreEmptyAndAreKeptAside) {
    const QByteArray good = R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E",)"
                            R"("date":"2024-01-02T03:04:05Z","text":"x"})";
    const QList<QByteArray> bad = {
        "not json at all",
        "{\"id\":1}",
        "[" + good + ",{\"date\":\"2024-01-02T03:04:05Z\",\"text\":\"x\"}]",
        "[" + QByteArray(good).replace("2024-01-02T03:04:05Z", "2024-01-02") + "]",
        "[" + QByteArray(good).replace("03:04:05Z", "03:04:05") + "]",
        "[" + QByteArray(good).replace("0F8FAD5B-", "{0F8FAD5B-").replace("950E\"", "950E}\"") +
            "]",
        "[" + QByteArray(good).replace("\"text\":\"x\"", "\"text\":7") + "]",
        "[" + good + ",null]",
        "[" + good.left(good.size() - 3), // cut short mid-write
    };
    ASSERT_TRUE(OCRHistoryStore::decode("[" + good + "]"));
    for (const QByteArray& bytes : bad)
        EXPECT_FALSE(OCRHistoryStore::decode(bytes)) << bytes.constData();

    const QString path = freshPath("damaged");
    const QByteArray damaged = "[" + good + ",{\"id\":";
    TestEnvironment::writeFile(path, damaged);
    OCRHistoryStore store(path, shortDelay);
    EXPECT_TRUE(store.items().isEmpty());
    EXPECT_FALSE(store.isSavePending());
    EXPECT_EQ(TestEnvironment::readFile(path), damaged); // untouched until the next save
    const QString aside = path + ".corrupt";
    EXPECT_EQ(TestEnvironment::readFile(aside), damaged);
    EXPECT_EQ(fileMode(aside), 0600);

    store.add("after the damage");
    store.saveNow();
    const auto repaired = OCRHistoryStore::decode(TestEnvironment::readFile(path));
    ASSERT_TRUE(repaired);
    EXPECT_EQ(repaired->size(), 1);
    EXPECT_EQ(TestEnvironment::readFile(aside), damaged);

    // An empty file holds nothing worth keeping.
    const QString emptyPath = freshPath("empty");
    TestEnvironment::writeFile(emptyPath, "");
    OCRHistoryStore empty(emptyPath, shortDelay);
    EXPECT_TRUE(empty.items().isEmpty());
    EXPECT_FALSE(QFile::exists(emptyPath + ".corrupt"));

    // A file we may not read is moved out of the way rather than overwritten later.
    const QString lockedPath = freshPath("locked");
    TestEnvironment::writeFile(lockedPath, "[" + good + "]");
    QFile::setPermissions(lockedPath, QFileDevice::WriteOwner);
    if (!QFile(lockedPath).open(QIODevice::ReadOnly)) { // root reads anything
        OCRHistoryStore locked(lockedPath, shortDelay);
        EXPECT_TRUE(locked.items().isEmpty());
        EXPECT_FALSE(QFile::exists(lockedPath));
        EXPECT_TRUE(QFile::exists(lockedPath + ".corrupt"));
    }
}

TEST_F(HistoryStore, KilledWhileSavingNeverLeavesAnUndecodableFile) {
    const QString path = freshPath("kill");
    int rounds = 0;
    for (int i = 0; i < 25; ++i) {
        QProcess saver;
        saver.start(HISTORY_SAVE_LOOP, {path});
        ASSERT_TRUE(saver.waitForStarted(5000));
        ASSERT_TRUE(saver.waitForReadyRead(10000)) << "the saver never reported its first save";
        // Somewhere inside one of the next few writes.
        QThread::usleep(QRandomGenerator::global()->bounded(1000u, 40000u));
        ::kill(pid_t(saver.processId()), SIGKILL);
        ASSERT_TRUE(saver.waitForFinished(5000));
        const auto items = OCRHistoryStore::decode(TestEnvironment::readFile(path));
        ASSERT_TRUE(items) << "round " << i << " left a file that does not decode";
        EXPECT_EQ(items->size(), 1000);
        ++rounds;
    }
    EXPECT_EQ(rounds, 25);
}

namespace {

// Answers the next modal message box with a key press, as a user would.
void answerNextDialog(int key, QString* defaultButtonText) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->deleteLater();
        if (defaultButtonText && box->defaultButton())
            *defaultButtonText = box->defaultButton()->text();
        QTest::keyClick(box, Qt::Key(key));
    });
    poll->start(10);
}

} // namespace

TEST_F(HistoryStore, ClearDialogEmptiesOnlyWhenConfirmed) {
    const QString path = freshPath("clear");
    OCRHistoryStore store(path, shortDelay);
    store.setItems(numbered(4));
    store.saveNow();
    const QByteArray before = TestEnvironment::readFile(path);

    QString defaultButton;
    answerNextDialog(Qt::Key_Escape, &defaultButton);
    EXPECT_FALSE(ClearHistoryDialog::present(store));
    // The destructive choice is the default button, as the user was told.
    EXPECT_EQ(defaultButton, L10n::shared().string("clear.all"));
    EXPECT_EQ(store.items().size(), 4);
    EXPECT_FALSE(store.isSavePending());
    EXPECT_EQ(TestEnvironment::readFile(path), before);

    QSignalSpy saved(&store, &OCRHistoryStore::saved);
    answerNextDialog(Qt::Key_Return, nullptr);
    EXPECT_TRUE(ClearHistoryDialog::present(store));
    EXPECT_TRUE(store.items().isEmpty());
    ASSERT_TRUE(saved.wait(2000));
    EXPECT_EQ(TestEnvironment::readFile(path), "[]");
}
