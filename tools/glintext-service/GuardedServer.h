#pragma once

#include "RequestGuard.h"

#include <QTcpSocket>

// A listening server (QTcpServer or QSslServer) that puts a RequestGuard on every
// connection before the HTTP server takes it.
template <typename Server> class GuardedServer : public Server {
public:
    using Server::Server;

    QTcpSocket* nextPendingConnection() override {
        QTcpSocket* socket = Server::nextPendingConnection();
        if (socket)
            RequestGuard::attach(socket);
        return socket;
    }
};
