#include "platform/wayland/DataControlClipboard.h"

#include "platform/wayland/PipeWriter.h"

#include <wayland-client.h>
#include <wlr-data-control-unstable-v1-client-protocol.h>

#include <QDeadlineTimer>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

const QStringList DataControlClipboard::textTypes{
    QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("text/plain"),
    QStringLiteral("UTF8_STRING"), QStringLiteral("STRING"), QStringLiteral("TEXT")};

std::unique_ptr<DataControlClipboard> DataControlClipboard::connect(ClipboardService& fallback,
                                                                    const QString& display) {
    const QByteArray name = display.toLocal8Bit();
    wl_display* connection = wl_display_connect(name.isEmpty() ? nullptr : name.constData());
    if (!connection)
        return nullptr;
    std::unique_ptr<DataControlClipboard> clipboard(new DataControlClipboard(fallback, connection));
    if (!clipboard->bindGlobals())
        return nullptr;
    clipboard->watchConnection();
    return clipboard;
}

DataControlClipboard::DataControlClipboard(ClipboardService& fallback, wl_display* display)
    : m_fallback(fallback), m_display(display) {}

DataControlClipboard::~DataControlClipboard() {
    disconnectFromCompositor();
}

bool DataControlClipboard::bindGlobals() {
    static const wl_registry_listener registryListener{&onGlobal, &onGlobalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &registryListener, this);
    if (wl_display_roundtrip(m_display) < 0 || !m_seat || !m_manager)
        return false;
    static const zwlr_data_control_device_v1_listener deviceListener{
        &onDataOffer, &onSelection, &onFinished, &onPrimarySelection};
    m_device = zwlr_data_control_manager_v1_get_data_device(m_manager, m_seat);
    zwlr_data_control_device_v1_add_listener(m_device, &deviceListener, this);
    // The compositor answers the new device with the current selection.
    return wl_display_roundtrip(m_display) >= 0 && m_device;
}

void DataControlClipboard::watchConnection() {
    const int fd = wl_display_get_fd(m_display);
    m_readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    QObject::connect(m_readNotifier, &QSocketNotifier::activated, this,
                     &DataControlClipboard::dispatch);
    // Only while requests wait for room in the socket.
    m_writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    QObject::connect(m_writeNotifier, &QSocketNotifier::activated, this,
                     &DataControlClipboard::flush);
}

void DataControlClipboard::setText(const QString& text) {
    if (!m_display) {
        m_fallback.setText(text);
        return;
    }
    static const zwlr_data_control_source_v1_listener sourceListener{&onSend, &onCancelled};
    zwlr_data_control_source_v1* source =
        zwlr_data_control_manager_v1_create_data_source(m_manager);
    zwlr_data_control_source_v1_add_listener(source, &sourceListener, this);
    for (const QString& type : textTypes)
        zwlr_data_control_source_v1_offer(source, type.toUtf8().constData());
    zwlr_data_control_device_v1_set_selection(m_device, source);
    // The previous text is no longer offered; transfers already under way go on.
    if (m_source)
        zwlr_data_control_source_v1_destroy(m_source);
    m_source = source;
    m_text = text.toUtf8();
    flush();
    if (!checkConnection())
        m_fallback.setText(text);
}

QString DataControlClipboard::text() {
    // Up to date with the compositor: a selection another client set a moment ago counts.
    if (m_display && wl_display_roundtrip(m_display) < 0)
        checkConnection();
    if (!m_display)
        return m_fallback.text();
    if (m_source)
        return QString::fromUtf8(m_text);
    if (!m_selection)
        return {};
    return readOffer(*m_selection);
}

QString DataControlClipboard::readOffer(const Offer& offer) {
    // The first of our text types the holder offers, in the holder's own spelling.
    QString type;
    for (const QString& candidate : textTypes) {
        for (const QString& offered : offer.types) {
            if (offered.compare(candidate, Qt::CaseInsensitive) == 0) {
                type = offered;
                break;
            }
        }
        if (!type.isEmpty())
            break;
    }
    int fds[2];
    if (type.isEmpty() || pipe2(fds, O_CLOEXEC) < 0)
        return {};
    zwlr_data_control_offer_v1_receive(offer.proxy, type.toUtf8().constData(), fds[1]);
    ::close(fds[1]); // the request carries a duplicate; the holder's end is the only writer
    flush();
    QByteArray bytes;
    bool complete = false;
    const QDeadlineTimer deadline(readTimeoutMs);
    while (!deadline.hasExpired()) {
        pollfd readable{fds[0], POLLIN, 0};
        const int ready = poll(&readable, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char chunk[4096];
        const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            complete = n == 0;
            break;
        }
        bytes.append(chunk, n);
    }
    ::close(fds[0]);
    return complete ? QString::fromUtf8(bytes) : QString();
}

void DataControlClipboard::dispatch() {
    if (!m_display)
        return;
    // Events already queued are dispatched first; otherwise the socket has some to read.
    if (wl_display_prepare_read(m_display) == 0 && wl_display_read_events(m_display) < 0) {
        checkConnection();
        return;
    }
    wl_display_dispatch_pending(m_display);
    flush();
    checkConnection();
}

void DataControlClipboard::flush() {
    if (!m_display)
        return;
    const bool pending = wl_display_flush(m_display) < 0 && errno == EAGAIN;
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(pending);
}

bool DataControlClipboard::checkConnection() {
    if (!m_display)
        return false;
    const int error = wl_display_get_error(m_display);
    if (error == 0)
        return true;
    qWarning("Glintext: the clipboard's connection to the compositor broke (%s); using the "
             "toolkit's clipboard from now on",
             std::strerror(error));
    const QByteArray held = m_source ? m_text : QByteArray();
    disconnectFromCompositor();
    // The text set here went with the connection; the toolkit offers it again.
    if (!held.isNull())
        m_fallback.setText(QString::fromUtf8(held));
    return false;
}

void DataControlClipboard::disconnectFromCompositor() {
    if (!m_display)
        return;
    // This may run inside a notifier's own signal: disable now, delete later.
    for (QSocketNotifier* notifier : {m_readNotifier, m_writeNotifier}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_readNotifier = m_writeNotifier = nullptr;
    for (auto& offer : m_incoming)
        zwlr_data_control_offer_v1_destroy(offer->proxy);
    m_incoming.clear();
    if (m_selection)
        zwlr_data_control_offer_v1_destroy(m_selection->proxy);
    m_selection.reset();
    if (m_source)
        zwlr_data_control_source_v1_destroy(m_source);
    m_source = nullptr;
    if (m_device)
        zwlr_data_control_device_v1_destroy(m_device);
    m_device = nullptr;
    if (m_manager)
        zwlr_data_control_manager_v1_destroy(m_manager);
    m_manager = nullptr;
    if (m_seat)
        wl_seat_destroy(m_seat);
    m_seat = nullptr;
    if (m_registry)
        wl_registry_destroy(m_registry);
    m_registry = nullptr;
    wl_display_flush(m_display);
    wl_display_disconnect(m_display);
    m_display = nullptr;
}

void DataControlClipboard::onGlobal(void* data, wl_registry* registry, uint32_t name,
                                    const char* interface, uint32_t) {
    auto* self = static_cast<DataControlClipboard*>(data);
    // Version 1 of each is all this needs: the seat only names the device, and the
    // selection alone is set (the primary selection came with version 2).
    if (!self->m_seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        self->m_seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (!self->m_manager &&
               std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0) {
        self->m_manager = static_cast<zwlr_data_control_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    }
}

void DataControlClipboard::onGlobalRemove(void*, wl_registry*, uint32_t) {
    // A seat that goes away finishes the device, which onFinished handles.
}

void DataControlClipboard::onDataOffer(void* data, zwlr_data_control_device_v1*,
                                       zwlr_data_control_offer_v1* proxy) {
    static const zwlr_data_control_offer_v1_listener offerListener{&onOfferType};
    auto* self = static_cast<DataControlClipboard*>(data);
    auto offer = std::make_unique<Offer>();
    offer->proxy = proxy;
    zwlr_data_control_offer_v1_add_listener(proxy, &offerListener, offer.get());
    self->m_incoming.push_back(std::move(offer));
}

void DataControlClipboard::onOfferType(void* data, zwlr_data_control_offer_v1*, const char* type) {
    static_cast<Offer*>(data)->types.append(QString::fromUtf8(type));
}

void DataControlClipboard::onSelection(void* data, zwlr_data_control_device_v1*,
                                       zwlr_data_control_offer_v1* proxy) {
    auto* self = static_cast<DataControlClipboard*>(data);
    if (self->m_selection)
        zwlr_data_control_offer_v1_destroy(self->m_selection->proxy);
    self->m_selection.reset();
    // The offer named here becomes the selection; any other introduced so far is stale.
    for (auto& offer : self->m_incoming) {
        if (proxy && offer->proxy == proxy)
            self->m_selection = std::move(offer);
        else
            zwlr_data_control_offer_v1_destroy(offer->proxy);
    }
    self->m_incoming.clear();
}

void DataControlClipboard::onPrimarySelection(void* data, zwlr_data_control_device_v1*,
                                              zwlr_data_control_offer_v1* proxy) {
    // Not sent at version 1; should it come, its offer is not needed.
    auto* self = static_cast<DataControlClipboard*>(data);
    auto& incoming = self->m_incoming;
    for (auto it = incoming.begin(); it != incoming.end(); ++it) {
        if ((*it)->proxy == proxy) {
            zwlr_data_control_offer_v1_destroy(proxy);
            incoming.erase(it);
            return;
        }
    }
}

void DataControlClipboard::onFinished(void* data, zwlr_data_control_device_v1*) {
    auto* self = static_cast<DataControlClipboard*>(data);
    qWarning("Glintext: the compositor withdrew the clipboard's seat; using the toolkit's "
             "clipboard from now on");
    const QByteArray held = self->m_source ? self->m_text : QByteArray();
    // Called from inside dispatch: tear down once it has returned.
    QMetaObject::invokeMethod(
        self,
        [self, held] {
            self->disconnectFromCompositor();
            if (!held.isNull())
                self->m_fallback.setText(QString::fromUtf8(held));
        },
        Qt::QueuedConnection);
}

void DataControlClipboard::onSend(void* data, zwlr_data_control_source_v1* source, const char*,
                                  int32_t fd) {
    auto* self = static_cast<DataControlClipboard*>(data);
    if (source != self->m_source) {
        ::close(fd);
        return;
    }
    new PipeWriter(fd, self->m_text, self);
}

void DataControlClipboard::onCancelled(void* data, zwlr_data_control_source_v1* source) {
    auto* self = static_cast<DataControlClipboard*>(data);
    zwlr_data_control_source_v1_destroy(source);
    if (source != self->m_source)
        return;
    self->m_source = nullptr;
    self->m_text.clear();
    Q_EMIT self->selectionLost();
}
