#pragma once

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QSslConfiguration>

#include <optional>

class ServiceRouter;

// The HTTP side: takes parsed requests from Qt's server, hands copies to the router and
// writes its answers back, whenever they arrive. One log line per request, with method,
// path, status and time: never headers, query values or bodies, so tokens and codes stay
// out of the log.
class ServiceHttpServer : public QAbstractHttpServer {
public:
    explicit ServiceHttpServer(ServiceRouter& router, QObject* parent = nullptr);

    // Listens on `address`:`port` (0 picks a free port), with TLS when `tls` is given.
    // Returns the port, or 0 with `error` set.
    quint16 start(const QHostAddress& address, quint16 port,
                  const std::optional<QSslConfiguration>& tls, QString* error);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    ServiceRouter& router_;
};
