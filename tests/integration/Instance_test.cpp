// One Glintext per user, on the real binary: many starts at once, a socket another user
// planted, and an instance that holds the bus name but never answers.
#include "support/TestEnvironment.h"
#include "support/Unprivileged.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A private home and runtime folder, no session bus, no display: the socket path alone.
class Session {
public:
    Session() {
        QDir().mkpath(m_root.path() + "/home/.config/Glintext");
        QDir().mkpath(runtimeDir());
        QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        TestEnvironment::writeFile(m_root.path() + "/home/.config/Glintext/defaults.json",
                                   R"({"onboardingCompleted":true,"launchAtLogin":false})");
        env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        const QString home = m_root.path() + "/home";
        env.insert("HOME", home);
        env.insert("XDG_CONFIG_HOME", home + "/.config");
        env.insert("XDG_DATA_HOME", home + "/.local/share");
        env.insert("XDG_CACHE_HOME", home + "/.cache");
        env.insert("XDG_RUNTIME_DIR", runtimeDir());
        env.insert("TMPDIR", m_root.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("GLINTEXT_PLATFORM", "null");
        env.insert("OMP_THREAD_LIMIT", "1");
    }

    QString root() const { return m_root.path(); }
    QString runtimeDir() const { return m_root.path() + "/run"; }

    std::unique_ptr<QProcess> start(const QStringList& args = {}) const {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->start(GLINTEXT_BINARY, args);
        return process;
    }

    QProcessEnvironment env;

private:
    QTemporaryDir m_root;
};

// Sockets listening on a path below `folder`, including those whose file was removed.
int listenersBelow(const QString& folder) {
    QFile table("/proc/net/unix");
    if (!table.open(QIODevice::ReadOnly))
        return -1;
    int count = 0;
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // Num RefCount Protocol Flags Type St Inode Path; flag 0x10000: accepts connections
        if (fields.size() >= 8 && (fields[3].toUInt(nullptr, 16) & 0x10000) &&
            fields[7].startsWith(QFile::encodeName(folder)))
            ++count;
    }
    return count;
}

void stop(QProcess& process) {
    ::kill(pid_t(process.processId()), SIGCONT);
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
}

// Another local user listening on `paths`: what it receives comes out of `received`.
struct Squatter {
    pid_t pid = -1;
    int received = -1;

    ~Squatter() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (received >= 0)
            ::close(received);
    }

    // `folder`, made world-writable by the squatter first, when not empty.
    bool start(const QByteArray& folder, const QList<QByteArray>& paths) {
        int fds[2];
        int ready[2];
        if (::pipe(fds) != 0 || ::pipe(ready) != 0)
            return false;
        pid = ::fork();
        if (pid == 0) { // system calls only from here on
            ::close(fds[0]);
            ::close(ready[0]);
            if (!Unprivileged::dropPrivileges())
                ::_exit(1);
            if (!folder.isEmpty()) {
                ::mkdir(folder.constData(), 0777);
                ::chmod(folder.constData(), 0777);
            }
            int listeners[4];
            int n = 0;
            for (const QByteArray& path : paths) {
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
                    ::listen(fd, 8) != 0)
                    ::_exit(2);
                listeners[n++] = fd;
            }
            [[maybe_unused]] ssize_t w = ::write(ready[1], "r", 1);
            for (;;) {
                for (int i = 0; i < n; ++i) {
                    const int flags = ::fcntl(listeners[i], F_GETFL);
                    ::fcntl(listeners[i], F_SETFL, flags | O_NONBLOCK);
                    const int client = ::accept(listeners[i], nullptr, nullptr);
                    if (client < 0)
                        continue;
                    char buffer[256];
                    const ssize_t got = ::read(client, buffer, sizeof buffer);
                    if (got > 0)
                        w = ::write(fds[1], buffer, size_t(got));
                    w = ::write(client, "ok\n", 3);
                    ::close(client);
                }
                ::usleep(2000);
            }
        }
        ::close(fds[1]);
        ::close(ready[1]);
        received = fds[0];
        char byte = 0;
        const bool listening = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
        ::fcntl(received, F_SETFL, O_NONBLOCK);
        return listening;
    }

    QByteArray takeReceived() const {
        QByteArray all;
        char buffer[256];
        for (ssize_t n; (n = ::read(received, buffer, sizeof buffer)) > 0;)
            all.append(buffer, n);
        return all;
    }
};

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    QDeadlineTimer deadline(limit);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

TEST(Instance, TwentyStartsAtOnceWithoutABusLeaveOneListener) {
    Session session;
    std::vector<std::unique_ptr<QProcess>> starts;
    for (int i = 0; i < 20; ++i)
        starts.push_back(session.start());
    std::vector<QProcess*> running;
    ASSERT_TRUE(waitUntil(
        [&] {
            running.clear();
            for (const auto& p : starts) {
                if (!p->waitForFinished(0) && p->state() != QProcess::NotRunning)
                    running.push_back(p.get());
            }
            return running.size() <= 1;
        },
        60s))
        << running.size() << " instances still running";
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(listenersBelow(session.root()), 1);
    for (const auto& p : starts) {
        if (p.get() == running.front())
            continue;
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        EXPECT_TRUE(p->readAllStandardError().contains("already running"));
    }
    // The one left answers: a command reaches it.
    auto capture = session.start({"settings"});
    ASSERT_TRUE(capture->waitForFinished(20000));
    EXPECT_EQ(capture->exitCode(), 0) << capture->readAllStandardError().toStdString();
    stop(*running.front());
}

// An instance that is still starting or busy answers late; a start meanwhile must neither
// take its socket nor run beside it.
TEST(Instance, AStartWhileTheInstanceCannotAnswerNeverTakesItsSocket) {
    Session session;
    auto first = session.start();
    ASSERT_TRUE(waitUntil([&] { return listenersBelow(session.root()) == 1; }, 30s));
    QThread::msleep(300);
    ::kill(pid_t(first->processId()), SIGSTOP);
    auto second = session.start();
    ASSERT_TRUE(second->waitForFinished(20000)) << "still waiting after 20 s";
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(second->readAllStandardError().contains("did not answer"));
    EXPECT_EQ(listenersBelow(session.root()), 1);
    ::kill(pid_t(first->processId()), SIGCONT);
    auto command = session.start({"settings"});
    ASSERT_TRUE(command->waitForFinished(20000));
    EXPECT_EQ(command->exitCode(), 0) << "the first instance still has its socket";
    stop(*first);
}

// Without XDG_RUNTIME_DIR the socket lives in a private folder of the temporary folder. Another
// user who made that folder first (and listens there, and at the name used before) gets
// nothing, and the user is told why Glintext does not run.
TEST(Instance, AFolderOrSocketOfAnotherUserIsRefused) {
    if (Unprivileged::isUnprivileged())
        GTEST_SKIP() << "only root can act as a second local user here";
    Session session;
    session.env.remove("XDG_RUNTIME_DIR");
    ::chmod(QFile::encodeName(session.root()).constData(), 01777); // like /tmp
    const QByteArray folder =
        QFile::encodeName(session.root()) + "/glintext-" + QByteArray::number(::getuid());
    Squatter squatter;
    ASSERT_TRUE(squatter.start(folder, {folder + "/glintext.sock", folder + ".sock"}));
    for (const QStringList& args :
         {QStringList{"capture"}, QStringList{"glintext://auth?code=secret"}}) {
        auto run = session.start(args);
        ASSERT_TRUE(run->waitForFinished(20000));
        EXPECT_NE(run->exitCode(), 0);
        EXPECT_TRUE(run->readAllStandardError().contains(folder)) << "the message names the folder";
    }
    EXPECT_EQ(squatter.takeReceived(), "");

    // A socket of another user planted in the user's own runtime folder is not trusted either.
    Session own;
    ::chmod(QFile::encodeName(own.root()).constData(), 0711);
    const QByteArray shared = QFile::encodeName(own.root()) + "/shared";
    ASSERT_EQ(::mkdir(shared.constData(), 0777), 0);
    ::chmod(shared.constData(), 0777);
    Squatter planted;
    ASSERT_TRUE(planted.start({}, {shared + "/planted.sock"}));
    ASSERT_EQ(::rename((shared + "/planted.sock").constData(),
                       QFile::encodeName(own.runtimeDir() + "/glintext.sock").constData()),
              0);
    auto run = own.start({"glintext://auth?code=secret"});
    ASSERT_TRUE(run->waitForFinished(20000));
    EXPECT_NE(run->exitCode(), 0);
    EXPECT_EQ(planted.takeReceived(), "");
}

// The instance runs as "nobody" here and root, who may enter any folder, connects to its
// socket: the instance answers only its own user.
TEST(Instance, OnlyTheSameUserCanHandTheInstanceACommand) {
    if (Unprivileged::isUnprivileged())
        GTEST_SKIP() << "only root can act as a second local user here";
    Session session;
    ASSERT_EQ(QProcess::execute("chown", {"-R", "65534:65534", session.root()}), 0);
    std::vector<QByteArray> variables;
    for (const QString& entry : session.env.toStringList())
        variables.push_back(entry.toLocal8Bit());
    std::vector<char*> envp;
    for (QByteArray& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    QByteArray program("glintext");
    char* argv[] = {program.data(), nullptr};
    const pid_t pid = Unprivileged::spawn(GLINTEXT_BINARY, argv, envp.data());
    ASSERT_GT(pid, 0);
    const bool listening = waitUntil([&] { return listenersBelow(session.root()) == 1; }, 30s);
    QByteArray answer;
    if (listening) {
        QThread::msleep(500); // its event loop runs
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(session.runtimeDir() + "/glintext.sock");
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::write(fd, "settings\n", 9) == 9) {
            pollfd wait{fd, POLLIN, 0};
            char buffer[64];
            for (ssize_t n;
                 ::poll(&wait, 1, 3000) > 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                answer.append(buffer, n);
        }
        ::close(fd);
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    ASSERT_TRUE(listening) << "the instance did not start as uid " << Unprivileged::uid;
    EXPECT_EQ(answer, "") << "the instance took a command from another user";
}

// An instance that holds the bus name but never answers (stopped here): a plain start and a
// command both say so within a few seconds and fail.
TEST(Instance, AnInstanceThatDoesNotAnswerIsReportedNotTakenForRunning) {
    QProcess bus;
    bus.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (!bus.waitForReadyRead(10000))
        GTEST_SKIP() << "dbus-daemon is not available";
    Session session;
    session.env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(bus.readLine().trimmed()));
    auto instance = session.start();
    ASSERT_TRUE(waitUntil(
        [&] {
            QProcess ping;
            ping.setProcessEnvironment(session.env);
            ping.start("dbus-send", {"--session", "--print-reply", "--dest=io.glintext.Glintext",
                                     "/io/glintext/Glintext", "org.freedesktop.DBus.Peer.Ping"});
            return ping.waitForFinished(5000) && ping.exitCode() == 0;
        },
        30s));
    ::kill(pid_t(instance->processId()), SIGSTOP);

    for (const QStringList& args : {QStringList{}, QStringList{"capture"}}) {
        auto run = session.start(args);
        ASSERT_TRUE(run->waitForFinished(15000)) << "still waiting after 15 s";
        EXPECT_EQ(run->exitCode(), 1) << args.join(' ').toStdString();
        EXPECT_TRUE(run->readAllStandardError().contains("did not answer"))
            << args.join(' ').toStdString();
    }
    stop(*instance);
    bus.kill();
    bus.waitForFinished();
}
