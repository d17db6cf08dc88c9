#include "platform/wayland/PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <QRandomGenerator>

namespace {
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

QString newToken() {
    static quint32 counter = 0;
    return QStringLiteral("glintext_%1_%2")
        .arg(++counter)
        .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QLatin1Char('0'));
}
} // namespace

QString PortalRequest::desktopService() {
    return QStringLiteral("org.freedesktop.portal.Desktop");
}

QString PortalRequest::desktopPath() {
    return QStringLiteral("/org/freedesktop/portal/desktop");
}

PortalRequest::PortalRequest(QDBusConnection bus, QString service, QString interface,
                             QString method, QVariantList arguments, QVariantMap options,
                             int timeoutMs, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_service(std::move(service)),
      m_interface(std::move(interface)), m_method(std::move(method)),
      m_arguments(std::move(arguments)), m_options(std::move(options)) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer); // "within 10 s" means no sooner either
    m_timer.setInterval(timeoutMs);
    connect(&m_timer, &QTimer::timeout, this, &PortalRequest::timeOut);
}

QString PortalRequest::requestPath(const QDBusConnection& bus, const QString& token) {
    // ":1.42" becomes "1_42".
    QString sender = bus.baseService();
    if (sender.startsWith(u':'))
        sender.remove(0, 1);
    sender.replace(u'.', u'_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

void PortalRequest::start() {
    m_timer.start();
    if (!m_bus.isConnected()) {
        QPointer<PortalRequest> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self)
                self->finish({Response::Status::Failed, {}, QStringLiteral("no session bus")});
        });
        return;
    }
    const QString token = newToken();
    m_options.insert(QStringLiteral("handle_token"), token);
    m_path = requestPath(m_bus, token);
    // Every Response of the portal, whatever its path: a portal older than version 0.9
    // picks the path itself, and its answer may come before the reply that names it.
    m_subscribed = m_bus.connect(m_service, QString(), requestInterface, QStringLiteral("Response"),
                                 this, SLOT(onResponse(QDBusMessage)));

    QDBusMessage call =
        QDBusMessage::createMethodCall(m_service, desktopPath(), m_interface, m_method);
    QVariantList arguments = m_arguments;
    arguments.append(m_options);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, m_timer.interval()), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                QDBusPendingReply<QDBusObjectPath> reply = *call;
                if (m_done)
                    return;
                if (reply.isError()) {
                    finish({Response::Status::Failed, {}, reply.error().message()});
                    return;
                }
                m_replied = true;
                m_path = reply.value().path();
                const QList<QDBusMessage> early = std::exchange(m_early, {});
                for (const QDBusMessage& response : early) {
                    if (response.path() == m_path)
                        onResponse(response);
                }
            });
}

void PortalRequest::unsubscribe() {
    if (m_subscribed) {
        m_bus.disconnect(m_service, QString(), requestInterface, QStringLiteral("Response"), this,
                         SLOT(onResponse(QDBusMessage)));
        m_subscribed = false;
    }
}

void PortalRequest::onResponse(const QDBusMessage& message) {
    if (m_done)
        return;
    if (message.path() != m_path) {
        if (!m_replied)
            m_early.append(message);
        return;
    }
    const QList<QVariant> arguments = message.arguments();
    Response response;
    response.results = arguments.size() > 1 ? qdbus_cast<QVariantMap>(arguments[1]) : QVariantMap();
    switch (arguments.value(0).toUInt()) {
    case 0:
        response.status = Response::Status::Success;
        break;
    case 1:
        response.status = Response::Status::Cancelled;
        break;
    default:
        response.status = Response::Status::Ended;
        break;
    }
    finish(std::move(response));
}

void PortalRequest::timeOut() {
    if (m_done)
        return;
    // The dialog a portal may still show for it goes away with the request.
    if (m_bus.isConnected() && !m_path.isEmpty()) {
        m_bus.asyncCall(QDBusMessage::createMethodCall(m_service, m_path, requestInterface,
                                                       QStringLiteral("Close")));
    }
    finish(
        {Response::Status::TimedOut,
         {},
         QStringLiteral("the desktop portal did not answer within %1 ms").arg(m_timer.interval())});
}

void PortalRequest::finish(Response response) {
    if (m_done)
        return;
    m_done = true;
    m_timer.stop();
    unsubscribe();
    Q_EMIT finished(response);
    deleteLater();
}
