#include "RequestGuard.h"

#include <QTcpSocket>
#include <QTimer>

namespace {

// What a refused client may still send before the connection is cut.
constexpr qint64 maxDrainBytes = 64 * 1024 * 1024;
constexpr int drainTimeoutMs = 15000;

} // namespace

void RequestGuard::attach(QTcpSocket* socket) {
    new RequestGuard(socket);
}

RequestGuard::RequestGuard(QTcpSocket* socket) : QObject(socket), socket_(socket) {
    connect(socket, &QTcpSocket::readyRead, this, &RequestGuard::inspect);
}

void RequestGuard::inspect() {
    if (state_ == State::Refused) {
        drain();
        return;
    }
    // The HTTP server reads everything on each signal, so what is unread now is new.
    const QByteArray fresh = socket_->peek(socket_->bytesAvailable());
    follow(fresh);
}

bool RequestGuard::follow(QByteArrayView data) {
    while (!data.isEmpty()) {
        if (state_ == State::Body) {
            const qint64 take = std::min<qint64>(bodyLeft_, data.size());
            bodyLeft_ -= take;
            data = data.sliced(take);
            if (bodyLeft_ == 0)
                state_ = State::Head;
            continue;
        }
        const qsizetype before = head_.size();
        const QByteArrayView chunk =
            data.first(std::min<qsizetype>(data.size(), maxHeadBytes + 1 - before));
        head_.append(chunk);
        const qsizetype end = head_.indexOf("\r\n\r\n", std::max<qsizetype>(0, before - 3));
        if (end < 0) {
            if (head_.size() > maxHeadBytes) {
                refuse(431, "Request Header Fields Too Large", "headers_too_large", 0);
                return false;
            }
            return true;
        }
        // Bytes after the blank line belong to the body, or to the next request.
        head_.truncate(end + 4);
        data = data.sliced(end + 4 - before);
        if (!finishHead(data.size()))
            return false;
    }
    return true;
}

bool RequestGuard::finishHead(qsizetype bodyBytesInChunk) {
    qint64 length = 0;
    bool expectsContinue = false;
    const QList<QByteArray> lines = head_.split('\n');
    head_.clear();
    for (const QByteArray& line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.first(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "transfer-encoding" && value.toLower().contains("chunked")) {
            refuse(411, "Length Required", "length_required", 0);
            return false;
        }
        if (name == "expect" && value.toLower() == "100-continue")
            expectsContinue = true;
        if (name == "content-length") {
            bool ok = false;
            length = value.toLongLong(&ok);
            if (!ok || length < 0) {
                refuse(400, "Bad Request", "bad_content_length", 0);
                return false;
            }
        }
    }
    if (length > maxBodyBytes) {
        // A client that waits for "100 Continue" sends no body now; any other still sends
        // the rest of it, which is read and dropped so that the client gets the answer.
        refuse(413, "Payload Too Large", "payload_too_large",
               expectsContinue ? 0 : length - std::min<qint64>(length, bodyBytesInChunk));
        return false;
    }
    // Qt's server never says so itself; clients such as curl would wait a second for it.
    if (expectsContinue && length > 0)
        socket_->write("HTTP/1.1 100 Continue\r\n\r\n");
    bodyLeft_ = length;
    state_ = length > 0 ? State::Body : State::Head;
    return true;
}

void RequestGuard::refuse(int status, const QByteArray& reason, const QByteArray& code,
                          qint64 bodyLeft) {
    state_ = State::Refused;
    // From here on this guard alone reads the socket; the server's parser never sees the
    // rest, so it cannot buffer it.
    QObject::disconnect(socket_, &QTcpSocket::readyRead, nullptr, nullptr);
    connect(socket_, &QTcpSocket::readyRead, this, &RequestGuard::inspect);
    if (socket_->isTransactionStarted())
        socket_->commitTransaction();
    const QByteArray body = "{\"error\":\"" + code + "\"}";
    socket_->write("HTTP/1.1 " + QByteArray::number(status) + " " + reason +
                   "\r\nContent-Type: application/json\r\nContent-Length: " +
                   QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    bodyLeft_ = std::min(bodyLeft, maxDrainBytes);
    QTimer::singleShot(drainTimeoutMs, socket_, [socket = socket_] {
        if (socket)
            socket->abort();
    });
    // What is buffered now is the chunk just examined: its body bytes are already counted.
    socket_->skip(socket_->bytesAvailable());
    if (bodyLeft_ <= 0)
        socket_->disconnectFromHost();
}

void RequestGuard::drain() {
    bodyLeft_ -= socket_->skip(socket_->bytesAvailable());
    if (bodyLeft_ <= 0)
        socket_->disconnectFromHost();
}
