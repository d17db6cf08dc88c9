#include "core/AppSettings.h"
#include "core/Defaults.h"
#include "core/OCRHistoryStore.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "ui/ClearHistoryDialog.h"

#include "support/TestEnvironment.h"
#include "support/fakes/FakeLoginItem.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// Opens the pipe at `path` for reading and reads until the writer closes it or goes quiet.
QByteArray drainPipe(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY);
    QByteArray bytes;
    pollfd wait{fd, POLLIN, 0};
    char buffer[4096];
    while (fd >= 0 && ::poll(&wait, 1, 2000) > 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    ::close(fd);
    return bytes;
}

// Entries "count-1" (newest) down to "0".
QList<Capture> numbered(int count) {
    QList<Capture> list;
    for (int i = count - 1; i >= 0; --i)
        list.append({QUuid::createUuid(), QDateTime::fromSecsSinceEpoch(1'700'000'000 + i, Qt::UTC),
                     QString::number(i)});
    return list;
}

class HistoryStore : public ::testing::Test {
protected:
    HistoryStore() : defaults(freshPath("settings") + ".defaults"), settings(defaults, login) {}

    void useLimits(bool keep, qint64 limit) {
        settings.set(Settings::keepHistory, keep);
        settings.set(Settings::historyLimit, limit);
    }

    Defaults defaults;
    FakeLoginItem login;
    AppSettings settings;
};

} // namespace

TEST_F(HistoryStore, BurstOfAddsGivesOneWriteOneDelayAfterTheLastChange) {
    EXPECT_EQ(OCRHistoryStore(settings, freshPath("default")).saveDelay(), 1000ms);
    const QString path = freshPath("burst");
    OCRHistoryStore store(settings, path, shortDelay);
    QSignalSpy saved(&store, &OCRHistoryStore::saved);
    QElapsedTimer sinceLast;
    for (int i = 0; i < 10; ++i) {
        sinceLast.start();
        store.add(QString("capture %1").arg(i));
        QTest::qWait(int(shortDelay.count() / 5));
    }
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_TRUE(saved.wait(2000));
    EXPECT_GE(sinceLast.elapsed(), shortDelay.count() - 5);
    QTest::qWait(int(shortDelay.count() * 2));
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(OCRHistoryStore::decode(TestEnvironment::readFile(path)), store.items());
    EXPECT_EQ(fileMode(path), 0600);
}

TEST_F(HistoryStore, AddHonoursKeepHistoryAndTheLimit) {
    OCRHistoryStore store(settings, freshPath("limits"), shortDelay);
    useLimits(false, 100);
    EXPECT_EQ(store.add("ignored"), std::nullopt);
    EXPECT_TRUE(store.items().isEmpty());
    EXPECT_FALSE(store.isSavePending());

    useLimits(true, 25);
    store.setItems(numbered(25));
    const auto id = store.add("newest");
    ASSERT_EQ(store.items().size(), 25);
    EXPECT_EQ(store.items().first().id, id);
    EXPECT_EQ(store.items().last().text, "1"); // "0", the oldest, is gone

    useLimits(true, 1000);
    store.setItems(numbered(300));
    store.saveNow();
    store.prune();
    EXPECT_FALSE(store.isSavePending()); // nothing to drop, nothing to save
    useLimits(true, 25);
    store.prune();
    ASSERT_EQ(store.items().size(), 25);
    EXPECT_EQ(store.items().last().text, "275");
    EXPECT_TRUE(store.isSavePending());
    useLimits(true, 0); // no limit the settings offer: refused, nothing pruned
    store.prune();
    EXPECT_EQ(store.items().size(), 25);
}

TEST_F(HistoryStore, ReplaceKeepsPlaceIdAndDateAndIgnoresGoneIds) {
    OCRHistoryStore store(settings, freshPath("replace"), shortDelay);
    const QList<Capture> before = numbered(5);
    store.setItems(before);
    store.replace(before[2].id, "refined");
    EXPECT_EQ(store.items()[2], (Capture{before[2].id, before[2].date, "refined"}));
    EXPECT_TRUE(store.isSavePending());
    store.saveNow();
    store.replace(QUuid::createUuid(), "nobody");
    EXPECT_FALSE(store.isSavePending());
    EXPECT_EQ(store.items().mid(3), before.mid(3));
}

TEST_F(HistoryStore, FileRoundTripsAndHasTheDocumentedForm) {
    const QString path = freshPath("roundtrip");
    OCRHistoryStore store(settings, path, shortDelay);
    const QStringList texts = {R"(say "hi" \ bye)", "https://example.com/a/b",
                               "😀👍🏽🇯🇵", "縦書きの日本語 中文 한국어",
                               "two\nlines\tand tab"};
    for (const QString& text : texts)
        store.add(text);
    QList<Capture> items = store.items();
    items.last().date = QDateTime::fromMSecsSinceEpoch(1'700'000'000'987, Qt::UTC);
    store.setItems(items);
    store.saveNow();

    const QByteArray raw = TestEnvironment::readFile(path);
    EXPECT_FALSE(raw.contains('\n'));
    EXPECT_TRUE(raw.contains(R"(https:\/\/example.com\/a\/b)"));
    EXPECT_TRUE(raw.contains(R"("date":"2023-11-14T22:13:20Z")")); // fraction dropped
    EXPECT_TRUE(raw.contains(items.first().id.toString(QUuid::WithoutBraces).toUpper().toLatin1()));

    items.last().date = items.last().date.addMSecs(-987);
    EXPECT_EQ(OCRHistoryStore(settings, path, shortDelay).items(), items);
    EXPECT_TRUE(OCRHistoryStore::decode(OCRHistoryStore::encode({{QUuid(), QDateTime(), "?"}})));
    // Other writers' forms: any member order, plain slashes, lower case, an offset.
    const auto other = OCRHistoryStore::decode(
        R"([{"text":"a/b","date":"2024-01-02T03:04:05+09:00","id":"0f8fad5b-d9cb-469f-a165-70867728950e"}])");
    ASSERT_TRUE(other && other->size() == 1);
    EXPECT_EQ(other->first(),
              (Capture{QUuid("{0f8fad5b-d9cb-469f-a165-70867728950e}"),
                       QDateTime(QDate(2024, 1, 1), QTime(18, 4, 5), Qt::UTC), "a/b"}));
}

TEST_F(HistoryStore, UndecodableFileLeavesTheStoreEmptyAndIsKeptAside) {
    const QByteArray good = R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E",)"
                            R"("date":"2024-01-02T03:04:05Z","text":"x"})";
    ASSERT_TRUE(OCRHistoryStore::decode("[" + good + "]"));
    for (const auto& [from, to] :
         QList<std::pair<QByteArray, QByteArray>>{{"\"id\":", "\"key\":"},
                                                  {"03:04:05Z", "03:04:05"},
                                                  {"0F8FAD5B-D9CB", "0F8FAD5BD9CB"},
                                                  {"\"x\"", "7"},
                                                  {"}", ""}})
        EXPECT_FALSE(OCRHistoryStore::decode("[" + QByteArray(good).replace(from, to) + "]"))
            << to.constData();

    const QString path = freshPath("damaged");
    const QByteArray damaged = "[" + good + ",{\"id\":";
    TestEnvironment::writeFile(path, damaged);
    OCRHistoryStore store(settings, path, shortDelay);
    EXPECT_TRUE(store.items().isEmpty());
    EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt"), damaged);
    EXPECT_EQ(fileMode(path + ".corrupt"), 0600);
    store.add("after the damage");
    store.saveNow();
    EXPECT_EQ(OCRHistoryStore::decode(TestEnvironment::readFile(path))->size(), 1);
    EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt"), damaged);
}

TEST_F(HistoryStore, EachUndecodableFileIsKeptNewestFirstAndOnlyTheOldestBeyondAFewGoes) {
    const QString path = freshPath("damaged-again");
    for (int i = 1; i <= 7; ++i) {
        TestEnvironment::writeFile(path, "[{\"damaged\":" + QByteArray::number(i));
        OCRHistoryStore store(settings, path, shortDelay);
        store.add(QString("capture %1").arg(i));
        store.saveNow();
    }
    EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt"), "[{\"damaged\":7");
    EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt.1"), "[{\"damaged\":6");
    EXPECT_EQ(TestEnvironment::readFile(path + ".corrupt.4"), "[{\"damaged\":3");
    EXPECT_EQ(fileMode(path + ".corrupt.4"), 0600);
    EXPECT_EQ(QFileInfo(path).dir().entryList({"history.json.corrupt*"}, QDir::Files).size(), 5);
    EXPECT_EQ(OCRHistoryStore::decode(TestEnvironment::readFile(path))->first().text, "capture 7");
}

// The delayed save writes on a worker: here the write blocks (its temporary file is a pipe
// nobody reads yet) and the interface must go on meanwhile.
TEST_F(HistoryStore, TheDelayedSaveWritesOffTheGuiThread) {
    const QString path = freshPath("worker");
    auto store = std::make_unique<OCRHistoryStore>(settings, path, shortDelay);
    const QByteArray pipe = QFile::encodeName(path + ".saving");
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);

    std::atomic<bool> guiWentOn{false};
    std::atomic<bool> watchdogReleased{false};
    std::thread watchdog([&] { // unblocks a save stuck on the GUI thread, after a while
        for (int i = 0; i < 500 && !guiWentOn; ++i)
            std::this_thread::sleep_for(10ms);
        if (guiWentOn)
            return;
        watchdogReleased = true;
        drainPipe(pipe);
    });
    store->add("written by the worker");
    const QList<Capture> snapshot = store->items();
    QTest::qWait(int(shortDelay.count() * 3)); // the save has started and is blocked
    guiWentOn = true;
    watchdog.join();
    EXPECT_FALSE(watchdogReleased) << "the save blocked the GUI thread";

    if (!watchdogReleased) { // read what the worker writes, which lets it finish
        EXPECT_EQ(drainPipe(pipe), OCRHistoryStore::encode(snapshot));
    }
    store.reset(); // waits for the worker
    store = std::make_unique<OCRHistoryStore>(settings, path, shortDelay);
    store->add("then saved as usual"); // the blocked write failed: a pipe cannot be synced
    store->saveNow();
    EXPECT_EQ(OCRHistoryStore::decode(TestEnvironment::readFile(path))->size(), 1);
}

TEST_F(HistoryStore, ALaterSaveIsNeverOvertakenByAnEarlierOne) {
    const QString path = freshPath("order");
    QList<Capture> last;
    {
        OCRHistoryStore store(settings, path, 0ms);
        for (int i = 1; i <= 60; ++i) {
            last = numbered(i * 5);
            store.setItems(last);
            if (i % 3 == 0)
                QCoreApplication::processEvents(); // a delayed save starts on the worker
        }
        QCoreApplication::processEvents();
        store.setItems(last.mid(1));
        store.saveNow(); // after every earlier save, whatever the worker was doing
        EXPECT_EQ(OCRHistoryStore::decode(TestEnvironment::readFile(path)), last.mid(1));
        last = numbered(7);
        store.setItems(last);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !store.isSavePending(); }, 2000));
    } // the store waits for its last write
    EXPECT_EQ(OCRHistoryStore::decode(TestEnvironment::readFile(path)), last);
}

TEST_F(HistoryStore, KilledWhileSavingNeverLeavesAnUndecodableFile) {
    const QString path = freshPath("kill");
    for (int round = 0; round < 25; ++round) {
        QProcess saver; // saves a 1000-entry history in a loop
        saver.start(HISTORY_SAVE_LOOP, {path});
        ASSERT_TRUE(saver.waitForReadyRead(10000)) << "the saver never finished a first save";
        QThread::usleep(QRandomGenerator::global()->bounded(1000u, 40000u));
        ::kill(pid_t(saver.processId()), SIGKILL);
        ASSERT_TRUE(saver.waitForFinished(5000));
        const auto items = OCRHistoryStore::decode(TestEnvironment::readFile(path));
        ASSERT_TRUE(items) << "round " << round;
        EXPECT_EQ(items->size(), 1000);
    }
    // A kill can leave a half-written copy of the user's text beside the file; the next
    // start removes it, and with it the last trace of text a clear may have removed since.
    OCRHistoryStore nextStart(settings, path, shortDelay);
    EXPECT_FALSE(nextStart.items().isEmpty());
    EXPECT_EQ(QFileInfo(path).dir().entryList(QDir::Files | QDir::Hidden),
              QStringList{"history.json"});
}

TEST_F(HistoryStore, ClearDialogEmptiesOnlyWhenConfirmed) {
    const QString path = freshPath("clear");
    OCRHistoryStore store(settings, path, shortDelay);
    store.setItems(numbered(4));
    store.saveNow();
    const QByteArray before = TestEnvironment::readFile(path);
    QString defaultButton;
    auto answerWith = [&](Qt::Key key) { // as a user would, once the box is up
        QTimer::singleShot(50, [&, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            defaultButton = box->defaultButton()->text();
            QTest::keyClick(box, key);
        });
    };
    DefaultsLanguageStore languageStore(defaults);
    const L10n l10n(languageStore);
    answerWith(Qt::Key_Escape);
    EXPECT_FALSE(ClearHistoryDialog::present(store, l10n));
    EXPECT_EQ(defaultButton, l10n.string("clear.all"));
    EXPECT_EQ(store.items().size(), 4);
    EXPECT_FALSE(store.isSavePending());
    EXPECT_EQ(TestEnvironment::readFile(path), before);

    QSignalSpy saved(&store, &OCRHistoryStore::saved);
    answerWith(Qt::Key_Return);
    EXPECT_TRUE(ClearHistoryDialog::present(store, l10n));
    ASSERT_TRUE(saved.wait(2000));
    EXPECT_EQ(TestEnvironment::readFile(path), "[]");
}
