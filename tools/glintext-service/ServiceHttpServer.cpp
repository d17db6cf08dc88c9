#include "ServiceHttpServer.h"

#include "GuardedServer.h"
#include "ServiceRouter.h"

#include <QElapsedTimer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QPointer>
#include <QSslServer>
#include <QTcpServer>

#include <memory>

ServiceHttpServer::ServiceHttpServer(ServiceRouter& router, QObject* parent)
    : QAbstractHttpServer(parent), router_(router) {}

quint16 ServiceHttpServer::start(const QHostAddress& address, quint16 port,
                                 const std::optional<QSslConfiguration>& tls, QString* error) {
    QTcpServer* server = nullptr;
    if (tls) {
        auto* ssl = new GuardedServer<QSslServer>(this);
        ssl->setSslConfiguration(*tls);
        server = ssl;
    } else {
        server = new GuardedServer<QTcpServer>(this);
    }
    if (!server->listen(address, port)) {
        *error = server->errorString();
        delete server;
        return 0;
    }
    bind(server);
    return server->serverPort();
}

bool ServiceHttpServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    QElapsedTimer timer;
    timer.start();
    const ServiceRequest copy = ServiceRequest::from(request);
    auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
    QPointer<QTcpSocket> alive(socket);
    router_.dispatch(copy).then(this, [=](ServiceReply reply) {
        qInfo().noquote()
            << copy.method << copy.encodedPath << reply.status
            << QString("%1 ms%2").arg(timer.elapsed()).arg(alive ? "" : " (client gone)");
        if (!alive)
            return;
        QHttpServerResponse response(reply.contentType, reply.body,
                                     QHttpServerResponse::StatusCode(reply.status));
        for (const auto& [name, value] : reply.headers)
            response.addHeader(name, value);
        response.write(std::move(*responder));
    });
    return true;
}

void ServiceHttpServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}
