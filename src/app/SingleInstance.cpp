#include "app/SingleInstance.h"

#include "core/DebugLog.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 maxLineLength = 64 * 1024;
// How often a later start looks again for an instance that holds the lock but does not
// listen yet (it is still starting).
constexpr int retryMs = 50;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// The user of the process at the other end of a connected local socket.
std::optional<uid_t> peerUid(qintptr descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (descriptor < 0 ||
        ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return std::nullopt;
    return credentials.uid;
}

bool isSameUser(qintptr descriptor) {
    const std::optional<uid_t> uid = peerUid(descriptor);
    return uid && *uid == ::geteuid();
}

int remaining(const QDeadlineTimer& deadline) {
    return int(std::max<qint64>(0, deadline.remainingTime()));
}

} // namespace

SingleInstance::SingleInstance(bool useBus, QString socketPath, QObject* parent)
    : QObject(parent), m_useBus(useBus), m_socketPath(std::move(socketPath)) {}

SingleInstance::~SingleInstance() {
    close();
    if (m_lock >= 0)
        ::close(m_lock);
}

void SingleInstance::close() {
    if (m_server)
        m_server->close(); // removes the socket file
}

QString SingleInstance::privateFolderProblem(const QString& folder) {
    struct stat st {};
    if (::lstat(native(folder).constData(), &st) != 0)
        return QStringLiteral("cannot use %1: %2")
            .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("%1 is not a folder; Glintext will not put its socket there")
            .arg(folder);
    if (st.st_uid != ::geteuid())
        return QStringLiteral("%1 belongs to another user (uid %2); Glintext will not put its "
                              "socket there (remove it, or set XDG_RUNTIME_DIR to a private "
                              "folder of your own)")
            .arg(folder)
            .arg(st.st_uid);
    if ((st.st_mode & 077) != 0)
        return QStringLiteral("%1 is open to other users (mode %2); Glintext will not put its "
                              "socket there (chmod 700 it)")
            .arg(folder)
            .arg(st.st_mode & 0777, 3, 8, QLatin1Char('0'));
    return {};
}

QString SingleInstance::defaultSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) &&
        privateFolderProblem(runtime).isEmpty())
        return runtime + QStringLiteral("/glintext.sock");
    const QString folder = QDir::tempPath() + QStringLiteral("/glintext-%1").arg(::geteuid());
    ::mkdir(native(folder).constData(), 0700); // one that exists is checked by start()
    return folder + QStringLiteral("/glintext.sock");
}

SingleInstance::Role SingleInstance::start(const AppCommand& command) {
    if (m_useBus && QDBusConnection::sessionBus().isConnected())
        return startOnBus(command);
    return startOnSocket(command, QDeadlineTimer(answerTimeoutMs));
}

SingleInstance::Role SingleInstance::startOnBus(const AppCommand& command) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const bool socketUsable = privateFolderProblem(QFileInfo(m_socketPath).path()).isEmpty();
    if (bus.registerService(QString::fromLatin1(serviceName))) {
        bus.registerObject(QString::fromLatin1(objectPath), this,
                           QDBusConnection::ExportScriptableSlots);
        // Also for callers without the bus, unless a bus-less instance already serves them.
        if (socketUsable && takeLock())
            listen();
        return Role::Primary;
    }
    // The name has an owner: that is the instance, if it answers.
    const QDeadlineTimer deadline(answerTimeoutMs);
    if (forwardOverBus(command, deadline))
        return Role::Forwarded;
    if (socketUsable && forwardOverSocket(m_socketPath, command, deadline) == Reply::Answered)
        return Role::Forwarded;
    m_problem = QStringLiteral("the running instance did not answer within %1 s (it holds the "
                               "name %2 on the session bus)")
                    .arg(answerTimeoutMs / 1000)
                    .arg(QString::fromLatin1(serviceName));
    return Role::Failed;
}

SingleInstance::Role SingleInstance::startOnSocket(const AppCommand& command,
                                                   QDeadlineTimer deadline) {
    if (QString problem = privateFolderProblem(QFileInfo(m_socketPath).path());
        !problem.isEmpty()) {
        m_problem = problem;
        return Role::Unsafe;
    }
    for (;;) {
        switch (forwardOverSocket(m_socketPath, command, deadline)) {
        case Reply::Answered:
            return Role::Forwarded;
        case Reply::Foreign:
            m_problem = QStringLiteral("%1 is held by another user's program; Glintext will not "
                                       "talk to it (remove it)")
                            .arg(m_socketPath);
            return Role::Unsafe;
        case Reply::Rejected:
            m_problem = QStringLiteral("the running instance did not take the command");
            return Role::Failed;
        case Reply::Silent:
            deadline = QDeadlineTimer(0);
            break;
        case Reply::NoListener:
            // Every instance holds the lock for its whole life: with the lock ours, what is
            // left at the path belongs to a process that died, and nobody answers on it.
            if (takeLock()) {
                QLocalServer::removeServer(m_socketPath);
                if (listen())
                    return Role::Primary;
                m_problem = QStringLiteral("cannot listen on %1").arg(m_socketPath);
                return Role::Failed;
            }
            break;
        }
        // An instance holds the lock: it is starting, or too busy to answer yet.
        if (deadline.hasExpired()) {
            m_problem = QStringLiteral("the running instance did not answer within %1 s (it "
                                       "listens on %2)")
                            .arg(answerTimeoutMs / 1000)
                            .arg(m_socketPath);
            return Role::Failed;
        }
        QThread::msleep(retryMs);
    }
}

bool SingleInstance::takeLock() {
    if (m_lock >= 0)
        return true;
    const QString path = QFileInfo(m_socketPath).path() + QStringLiteral("/glintext.lock");
    const int fd =
        ::open(native(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    // flock ends with the process however it ends: a lock is never left behind by a crash.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lock = fd;
    return true;
}

bool SingleInstance::forwardOverBus(const AppCommand& command, QDeadlineTimer deadline) {
    QDBusMessage message;
    const QString service = QString::fromLatin1(serviceName);
    const QString path = QString::fromLatin1(objectPath);
    const QString interface = QString::fromLatin1(serviceName);
    switch (command.kind) {
    case AppCommand::Kind::Launch: // nothing to hand over: only that it is alive
        message = QDBusMessage::createMethodCall(
            service, path, QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
        break;
    case AppCommand::Kind::Capture:
    case AppCommand::Kind::CaptureHQ:
        message = QDBusMessage::createMethodCall(service, path, interface, "Capture");
        message << (command.kind == AppCommand::Kind::CaptureHQ);
        break;
    case AppCommand::Kind::Settings:
        if (command.argument.isEmpty()) {
            message = QDBusMessage::createMethodCall(service, path, interface, "ShowSettings");
        } else {
            message = QDBusMessage::createMethodCall(service, path, interface, "ShowSettingsTab");
            message << command.argument;
        }
        break;
    case AppCommand::Kind::SignIn:
        message = QDBusMessage::createMethodCall(service, path, interface, "SignIn");
        break;
    case AppCommand::Kind::OpenUrl:
        message = QDBusMessage::createMethodCall(service, path, interface, "OpenUrl");
        message << command.argument;
        break;
    }
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(message, QDBus::Block, std::max(1, remaining(deadline)));
    return reply.type() == QDBusMessage::ReplyMessage;
}

SingleInstance::Reply SingleInstance::forwardOverSocket(const QString& path,
                                                        const AppCommand& command,
                                                        QDeadlineTimer deadline) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(remaining(deadline)))
        return Reply::NoListener;
    // A socket another user placed (or whose folder they made) must not get the command:
    // it may be a sign-in callback.
    if (!isSameUser(socket.socketDescriptor()))
        return Reply::Foreign;
    socket.write(command.encode() + '\n');
    if (!socket.waitForBytesWritten(remaining(deadline)))
        return Reply::Silent;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(remaining(deadline)))
            return Reply::Silent;
    }
    return socket.readLine().trimmed() == "ok" ? Reply::Answered : Reply::Rejected;
}

bool SingleInstance::listen() {
    if (m_server)
        return true;
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_socketPath)) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    return true;
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!isSameUser(socket->socketDescriptor())) {
            DebugLog::log(QStringLiteral("Instance: refused a connection from another user"));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > maxLineLength)
                    socket->abort();
                return;
            }
            const QByteArray line = socket->readLine(maxLineLength).trimmed();
            const std::optional<AppCommand> command = AppCommand::decode(line);
            socket->write(command ? "ok\n" : "error\n");
            socket->flush();
            socket->disconnectFromServer();
            if (command)
                deliver(*command);
        });
    }
}

// The caller gets its answer first; what the command opens (an alert, say) may take long.
void SingleInstance::deliver(const AppCommand& command) {
    QMetaObject::invokeMethod(
        this, [this, command] { Q_EMIT commandReceived(command); }, Qt::QueuedConnection);
}

void SingleInstance::Capture(bool highAccuracy) {
    deliver(AppCommand{highAccuracy ? AppCommand::Kind::CaptureHQ : AppCommand::Kind::Capture, {}});
}

void SingleInstance::ShowSettings() {
    deliver(AppCommand{AppCommand::Kind::Settings, {}});
}

void SingleInstance::ShowSettingsTab(const QString& tab) {
    deliver(AppCommand{AppCommand::Kind::Settings, tab});
}

void SingleInstance::SignIn() {
    deliver(AppCommand{AppCommand::Kind::SignIn, {}});
}

void SingleInstance::OpenUrl(const QString& url) {
    deliver(AppCommand{AppCommand::Kind::OpenUrl, url});
}
