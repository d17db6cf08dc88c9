#include "platform/wayland/PipeWriter.h"

#include <QEventLoop>
#include <QPointer>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

struct Pipe {
    Pipe() { EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0); }
    ~Pipe() {
        for (int fd : fds)
            if (fd >= 0)
                ::close(fd);
    }
    int takeWriteEnd() { return std::exchange(fds[1], -1); }
    int readEnd() const { return fds[0]; }
    void closeReadEnd() { ::close(std::exchange(fds[0], -1)); }
    int fds[2] = {-1, -1};
};

QByteArray payload(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

bool sigpipePending() {
    sigset_t pending;
    sigpending(&pending);
    return sigismember(&pending, SIGPIPE) == 1;
}

} // namespace

// Many times a pipe's capacity, read in small bites from the event loop as a slow reader
// would: the writer never blocks, every byte arrives in order, then end of file.
TEST(PipeWriter, HandsOverMoreThanThePipeHoldsWithoutBlocking) {
    Pipe pipe;
    const QByteArray data = payload(1 << 20);
    auto* writer = new PipeWriter(pipe.takeWriteEnd(), data);
    QSignalSpy finished(writer, &PipeWriter::finished);
    QPointer<PipeWriter> alive(writer);

    QByteArray received;
    QEventLoop loop;
    QSocketNotifier reader(pipe.readEnd(), QSocketNotifier::Read);
    QObject::connect(&reader, &QSocketNotifier::activated, [&] {
        char chunk[1000];
        const ssize_t n = ::read(pipe.readEnd(), chunk, sizeof chunk);
        if (n > 0)
            received.append(chunk, n);
        else
            loop.quit(); // end of file
    });
    // Nothing is written before the event loop runs.
    EXPECT_EQ(writer->written(), 0);
    QTimer::singleShot(20000, &loop, [&] { loop.exit(1); });
    EXPECT_EQ(loop.exec(), 0) << "no end of file";
    reader.setEnabled(false);
    EXPECT_EQ(received.size(), data.size());
    EXPECT_TRUE(received == data);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(finished.first().first().toBool());
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000)) << "writer not deleted";
}

// A reader that goes away in the middle (a paste cancelled, `wl-paste | head -c 1`) ends the
// transfer as incomplete; the process is not killed by SIGPIPE, and none is left pending.
TEST(PipeWriter, ReaderThatLeavesEndsTheTransferQuietly) {
    Pipe pipe;
    auto* writer = new PipeWriter(pipe.takeWriteEnd(), payload(1 << 20));
    QSignalSpy finished(writer, &PipeWriter::finished);
    char first[16];
    EXPECT_TRUE(QTest::qWaitFor([&] { return writer->written() > 0; }, 5000));
    ASSERT_EQ(::read(pipe.readEnd(), first, sizeof first), ssize_t(sizeof first));
    pipe.closeReadEnd();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 5000));
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished.first().first().toBool());
    EXPECT_FALSE(sigpipePending());
    sigset_t mask;
    pthread_sigmask(SIG_SETMASK, nullptr, &mask);
    EXPECT_FALSE(sigismember(&mask, SIGPIPE)) << "SIGPIPE left blocked";
}

// Nothing to write into: the transfer ends at once, reported from the event loop so that the
// caller can connect first; an empty text is a complete, empty transfer.
TEST(PipeWriter, EndsAtOnceForABadDescriptorOrNoBytes) {
    auto* bad = new PipeWriter(-1, "text");
    QSignalSpy badFinished(bad, &PipeWriter::finished);
    EXPECT_TRUE(badFinished.isEmpty());
    EXPECT_TRUE(badFinished.wait(2000));
    EXPECT_FALSE(badFinished.first().first().toBool());

    Pipe pipe;
    auto* empty = new PipeWriter(pipe.takeWriteEnd(), QByteArray());
    QSignalSpy emptyFinished(empty, &PipeWriter::finished);
    EXPECT_TRUE(emptyFinished.wait(2000));
    EXPECT_TRUE(emptyFinished.first().first().toBool());
    char byte;
    EXPECT_EQ(::read(pipe.readEnd(), &byte, 1), 0) << "the reader sees end of file";
}
