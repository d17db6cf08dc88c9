#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

class QTcpSocket;

// Watches the bytes of one connection before the HTTP server reads them, and answers
// itself when a request would be too big to hold: a body over 20 MiB (413), a header block
// over 64 KiB (431), or a body of unknown length (411). The server then never sees that
// connection again; the guard reads and drops what the client still sends, so that the
// client gets the answer instead of a reset, and closes.
class RequestGuard : public QObject {
public:
    static constexpr qint64 maxBodyBytes = 20 * 1024 * 1024;
    static constexpr qint64 maxHeadBytes = 64 * 1024;

    // Must be attached before the HTTP server connects to the socket, so it reads first.
    static void attach(QTcpSocket* socket);

private:
    explicit RequestGuard(QTcpSocket* socket);

    void inspect();
    // Follows the request stream through `data`; false once the connection was refused.
    bool follow(QByteArrayView data);
    bool finishHead(qsizetype bodyBytesInChunk);
    void refuse(int status, const QByteArray& reason, const QByteArray& code, qint64 bodyLeft);
    void drain();

    enum class State { Head, Body, Refused };

    QPointer<QTcpSocket> socket_;
    State state_ = State::Head;
    QByteArray head_;
    qint64 bodyLeft_ = 0;
};
