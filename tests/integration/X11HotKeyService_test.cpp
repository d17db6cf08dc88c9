#include "platform/x11/X11HotKeyService.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A private X server for the duration of one test.
class Xvfb {
public:
    Xvfb() {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("xdotool").isEmpty())
            return;
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        m_process.setProgram("Xvfb");
        m_process.setArguments({"-displayfd", QString::number(fds[1]), "-screen", "0", "640x480x24",
                                "-nolisten", "tcp"});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setChildProcessModifier([] {});
        m_process.start();
        ::close(fds[1]);
        QByteArray number;
        char c;
        while (::read(fds[0], &c, 1) == 1 && c != '\n')
            number.append(c);
        ::close(fds[0]);
        if (!number.isEmpty())
            m_display = ":" + number;
    }
    ~Xvfb() {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    QByteArray display() const { return m_display; }

    bool key(const char* combination) {
        QProcess xdotool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", QString::fromLatin1(m_display));
        xdotool.setProcessEnvironment(env);
        xdotool.start("xdotool", {"key", combination});
        return xdotool.waitForFinished(5000) && xdotool.exitCode() == 0;
    }

private:
    QProcess m_process;
    QByteArray m_display;
};

bool waitFor(QSignalSpy& spy, int count) {
    QDeadlineTimer deadline(5000);
    while (spy.count() < count && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return spy.count() >= count;
}

} // namespace

TEST(X11HotKeyService, GrabsEveryLockVariantAndSkipsCombinationsAnotherClientHolds) {
    Xvfb server;
    if (server.display().isEmpty())
        GTEST_SKIP() << "Xvfb or xdotool missing";

    const auto normal = Qt::ControlModifier | Qt::ShiftModifier;
    const auto hq = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;

    // Another client holds Ctrl+Shift+2.
    X11HotKeyService other(server.display());
    ASSERT_TRUE(other.isValid());
    ASSERT_TRUE(other.registerHotKey(1, Qt::Key_2, normal));

    X11HotKeyService service(server.display());
    ASSERT_TRUE(service.isValid());
    EXPECT_FALSE(service.registerHotKey(1, Qt::Key_2, normal));
    EXPECT_TRUE(service.registerHotKey(2, Qt::Key_2, hq));
    QSignalSpy presses(&service, &HotKeyService::pressed);
    QSignalSpy otherPresses(&other, &HotKeyService::pressed);

    ASSERT_TRUE(server.key("ctrl+alt+shift+2"));
    ASSERT_TRUE(waitFor(presses, 1));
    EXPECT_EQ(presses.at(0).at(0).toUInt(), 2u);

    // With NumLock and CapsLock on the shortcut still arrives.
    ASSERT_TRUE(server.key("Num_Lock"));
    ASSERT_TRUE(server.key("Caps_Lock"));
    ASSERT_TRUE(server.key("ctrl+alt+shift+2"));
    ASSERT_TRUE(waitFor(presses, 2));
    ASSERT_TRUE(server.key("ctrl+shift+2"));
    ASSERT_TRUE(waitFor(otherPresses, 1));
    EXPECT_EQ(presses.count(), 2);

    // Once the other client lets go, the combination can be had.
    other.unregisterHotKey(1);
    EXPECT_TRUE(service.registerHotKey(1, Qt::Key_2, normal));
    service.unregisterHotKey(2);
    ASSERT_TRUE(server.key("ctrl+alt+shift+2"));
    ASSERT_TRUE(server.key("ctrl+shift+2"));
    ASSERT_TRUE(waitFor(presses, 3));
    EXPECT_EQ(presses.at(2).at(0).toUInt(), 1u);
}
