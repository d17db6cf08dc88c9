#include "core/DebugLog.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(DebugLog::currentPath());
        QFile::remove(DebugLog::rotatedPath());
    }
    static QByteArray current() { return TestEnvironment::readFile(DebugLog::currentPath()); }
};

} // namespace

TEST_F(DebugLogTest, FirstLineCreatesFolderAndFileInTheLineFormat) {
    QDir(TestEnvironment::dataDir()).removeRecursively();
    DebugLog::log("Capture: failed: no image");
    const QByteArray bytes = current();
    const QRegularExpression line(
        R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ Capture: failed: no image\n$)");
    EXPECT_TRUE(line.match(QString::fromUtf8(bytes)).hasMatch()) << bytes.constData();
    EXPECT_EQ(QFile::permissions(TestEnvironment::dataDir()) & 0x0077, 0);

    DebugLog::log("two\nlines");
    const QStringList lines = QString::fromUtf8(current()).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].endsWith(" two"));
    EXPECT_EQ(lines[2], "lines"); // the continuation has no timestamp
}

TEST_F(DebugLogTest, RotatesOnlyWhenStrictlyLargerThanTheThreshold) {
    TestEnvironment::writeFile(DebugLog::rotatedPath(), "old generation\n");
    TestEnvironment::writeFile(DebugLog::currentPath(),
                               QByteArray(DebugLog::rotationThreshold, 'x'));
    DebugLog::log("at threshold");
    EXPECT_GT(current().size(), DebugLog::rotationThreshold);
    EXPECT_EQ(TestEnvironment::readFile(DebugLog::rotatedPath()), "old generation\n");

    TestEnvironment::writeFile(DebugLog::currentPath(),
                               QByteArray(DebugLog::rotationThreshold + 1, 'y'));
    DebugLog::log("after rotation");
    EXPECT_EQ(TestEnvironment::readFile(DebugLog::rotatedPath()),
              QByteArray(DebugLog::rotationThreshold + 1, 'y'));
    EXPECT_TRUE(current().endsWith(" after rotation\n"));
    EXPECT_EQ(current().count('\n'), 1);
}

TEST_F(DebugLogTest, TailJoinsBothFilesAndKeepsTheLastCharacters) {
    EXPECT_EQ(DebugLog::tail(), "");
    TestEnvironment::writeFile(DebugLog::rotatedPath(), "rotated\n");
    EXPECT_EQ(DebugLog::tail(), "rotated\n");
    TestEnvironment::writeFile(DebugLog::currentPath(), "current\n");
    EXPECT_EQ(DebugLog::tail(), "rotated\ncurrent\n");

    // Characters, not bytes or code units: each "e\u0301" is one character of 3 bytes.
    const QString accented = QString::fromUtf16(u"e\u0301");
    QString big;
    for (int i = 0; i < 200000; ++i)
        big += accented;
    TestEnvironment::writeFile(DebugLog::rotatedPath(), QByteArray(100000, 'a'));
    TestEnvironment::writeFile(DebugLog::currentPath(), big.toUtf8());
    const QString tail = DebugLog::tail();
    EXPECT_EQ(tail.size(), 62144 + 2 * 200000);
    EXPECT_TRUE(tail.startsWith(QString(62144, 'a') + accented));

    // A file that is not UTF-8 contributes nothing.
    TestEnvironment::writeFile(DebugLog::rotatedPath(), QByteArray("\xff\xfe bad"));
    TestEnvironment::writeFile(DebugLog::currentPath(), "good\n");
    EXPECT_EQ(DebugLog::tail(), "good\n");
}

TEST_F(DebugLogTest, ConcurrentWritersLoseNoLine) {
    constexpr int threads = 8;
    constexpr int perThread = 400; // enough bytes to rotate once on the way
    const QString padding(200, 'p');
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i)
                DebugLog::log(QStringLiteral("w%1 %2 %3").arg(t).arg(i).arg(padding));
        });
    for (auto& w : workers)
        w.join();

    QSet<QString> seen;
    const QByteArray all = TestEnvironment::readFile(DebugLog::rotatedPath()) + current();
    for (const QByteArray& line : all.split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> parts = line.split(' ');
        ASSERT_EQ(parts.size(), 4) << line.constData();
        seen.insert(QString::fromLatin1(parts[1] + " " + parts[2]));
    }
    EXPECT_FALSE(TestEnvironment::readFile(DebugLog::rotatedPath()).isEmpty());
    EXPECT_EQ(seen.size(), threads * perThread);
}
