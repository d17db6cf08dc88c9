#include "platform/wayland/SwayBarWatcher.h"

#include "platform/wayland/SwayBarConfig.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// sway's IPC framing: the magic, then payload length and message type in native byte order.
const QByteArray magic = QByteArrayLiteral("i3-ipc");
constexpr qsizetype headerSize = 6 + 2 * sizeof(quint32);
constexpr quint32 subscribeType = 2;
constexpr quint32 getBarConfigType = 6;
constexpr quint32 barConfigUpdateEvent = 0x80000004;

} // namespace

SwayBarWatcher::SwayBarWatcher(const QString& socketPath, QObject* parent) : QObject(parent) {
    const QByteArray path = socketPath.toLocal8Bit();
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return;
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
        hangUp();
        return;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SwayBarWatcher::readMessages);
    send(subscribeType, QByteArrayLiteral("[\"barconfig_update\"]"));
    send(getBarConfigType, QByteArray()); // the list of bar ids
}

SwayBarWatcher::~SwayBarWatcher() {
    hangUp();
}

std::optional<QColor> SwayBarWatcher::trayForeground() const {
    QList<QJsonObject> bars;
    for (const QString& id : m_order) {
        if (m_bars.contains(id))
            bars.append(m_bars.value(id));
    }
    return SwayBarConfig::trayForeground(bars);
}

void SwayBarWatcher::waitForBars(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    auto known = [this] {
        return !m_order.isEmpty() &&
               std::all_of(m_order.cbegin(), m_order.cend(),
                           [this](const QString& id) { return m_bars.contains(id); });
    };
    while (m_fd >= 0 && !known() && !deadline.hasExpired()) {
        pollfd readable{m_fd, POLLIN, 0};
        const int ready = poll(&readable, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return;
        readMessages();
    }
}

void SwayBarWatcher::send(quint32 type, const QByteArray& payload) {
    if (m_fd < 0)
        return;
    QByteArray message = magic;
    const quint32 length = quint32(payload.size());
    message.append(reinterpret_cast<const char*>(&length), sizeof length);
    message.append(reinterpret_cast<const char*>(&type), sizeof type);
    message.append(payload);
    // A few hundred bytes into a local socket's empty buffer: sent whole at once.
    if (::send(m_fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL) != message.size())
        hangUp();
}

void SwayBarWatcher::readMessages() {
    char chunk[4096];
    const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        hangUp();
        return;
    }
    m_buffer.append(chunk, n);
    while (m_buffer.size() >= headerSize) {
        if (!m_buffer.startsWith(magic)) {
            hangUp(); // not sway's protocol: stop listening rather than guess
            return;
        }
        quint32 length = 0, type = 0;
        std::memcpy(&length, m_buffer.constData() + 6, sizeof length);
        std::memcpy(&type, m_buffer.constData() + 6 + sizeof length, sizeof type);
        if (m_buffer.size() < headerSize + qsizetype(length))
            return;
        const QByteArray payload = m_buffer.mid(headerSize, length);
        m_buffer.remove(0, headerSize + length);
        handle(type, payload);
    }
}

void SwayBarWatcher::handle(quint32 type, const QByteArray& payload) {
    if (type != getBarConfigType && type != barConfigUpdateEvent)
        return;
    const QJsonDocument document = QJsonDocument::fromJson(payload);
    if (document.isArray()) { // the ids: ask for each bar
        for (const QJsonValue& id : document.array()) {
            const QString name = id.toString();
            if (!name.isEmpty() && !m_order.contains(name)) {
                m_order.append(name);
                send(getBarConfigType, name.toUtf8());
            }
        }
        return;
    }
    const QJsonObject bar = document.object();
    const QString id = bar.value(QLatin1String("id")).toString();
    if (id.isEmpty())
        return;
    if (!m_order.contains(id))
        m_order.append(id);
    m_bars.insert(id, bar);
    Q_EMIT changed();
}

void SwayBarWatcher::hangUp() {
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater(); // this may run inside its own signal
        m_notifier = nullptr;
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
