#include "app/SingleInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
constexpr qint64 maxLineLength = 64 * 1024;
constexpr int busTimeoutMs = 5000;
} // namespace

SingleInstance::SingleInstance(bool useBus, QString socketPath, QObject* parent)
    : QObject(parent), m_useBus(useBus), m_socketPath(std::move(socketPath)) {}

SingleInstance::~SingleInstance() {
    close();
}

void SingleInstance::close() {
    if (m_server)
        m_server->close(); // removes the socket file
}

QString SingleInstance::defaultSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + QStringLiteral("/glintext.sock");
    return QDir::tempPath() + QStringLiteral("/glintext-%1.sock").arg(::getuid());
}

SingleInstance::Role SingleInstance::start(const AppCommand& command) {
    if (m_useBus) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected()) {
            if (bus.registerService(QString::fromLatin1(serviceName))) {
                bus.registerObject(QString::fromLatin1(objectPath), this,
                                   QDBusConnection::ExportScriptableSlots);
                listen();
                return Role::Primary;
            }
            // The name has an owner: that is the instance. A plain start has nothing to say.
            if (command.kind == AppCommand::Kind::Launch)
                return Role::Forwarded;
            if (forwardOverBus(command) || forwardOverSocket(m_socketPath, command))
                return Role::Forwarded;
            return Role::Failed;
        }
    }
    if (forwardOverSocket(m_socketPath, command))
        return Role::Forwarded;
    return listen() ? Role::Primary : Role::Failed;
}

bool SingleInstance::forwardOverBus(const AppCommand& command) {
    QDBusMessage message;
    const QString service = QString::fromLatin1(serviceName);
    const QString path = QString::fromLatin1(objectPath);
    const QString interface = QString::fromLatin1(serviceName);
    switch (command.kind) {
    case AppCommand::Kind::Launch:
        return true;
    case AppCommand::Kind::Capture:
    case AppCommand::Kind::CaptureHQ:
        message = QDBusMessage::createMethodCall(service, path, interface, "Capture");
        message << (command.kind == AppCommand::Kind::CaptureHQ);
        break;
    case AppCommand::Kind::Settings:
        message = QDBusMessage::createMethodCall(service, path, interface, "ShowSettings");
        break;
    case AppCommand::Kind::OpenUrl:
        message = QDBusMessage::createMethodCall(service, path, interface, "OpenUrl");
        message << command.url;
        break;
    }
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(message, QDBus::Block, busTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool SingleInstance::forwardOverSocket(const QString& path, const AppCommand& command,
                                       int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(command.encode() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine().trimmed() == "ok";
}

bool SingleInstance::listen() {
    if (m_server)
        return true;
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_socketPath)) {
        // Nobody answered on it, so the file is left over from a process that died.
        QLocalServer::removeServer(m_socketPath);
        if (!server->listen(m_socketPath)) {
            delete server;
            return false;
        }
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    return true;
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
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

void SingleInstance::OpenUrl(const QString& url) {
    deliver(AppCommand{AppCommand::Kind::OpenUrl, url});
}
