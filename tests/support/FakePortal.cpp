#include "support/FakePortal.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
int instances = 0;
} // namespace

FakePortal::FakePortal() {
    const int n = ++instances;
    m_connectionName = QStringLiteral("fake-portal-%1").arg(n);
    m_service = QStringLiteral("io.glintext.test.Portal%1_%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(n);
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    m_valid = bus.isConnected() && bus.registerService(m_service) &&
              bus.registerVirtualObject(portalPath, this, QDBusConnection::SubPath);
}

FakePortal::~FakePortal() {
    {
        QDBusConnection bus(m_connectionName);
        bus.unregisterObject(portalPath);
        bus.unregisterService(m_service);
    }
    QDBusConnection::disconnectFromBus(m_connectionName);
}

QList<QDBusMessage> FakePortal::callsOf(const QString& member) const {
    QList<QDBusMessage> found;
    for (const QDBusMessage& call : m_calls) {
        if (call.member() == member)
            found.append(call);
    }
    return found;
}

QString FakePortal::introspect(const QString&) const {
    return {};
}

bool FakePortal::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    m_calls.append(message);
    m_lastCaller = message.service();
    if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties")) {
        const QString interface = message.arguments().value(0).toString();
        if (m_interfaces.contains(interface))
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(uint(1)))));
        else
            connection.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                         QStringLiteral("No such interface")));
        return true;
    }
    if (message.path() != portalPath) {
        // Request.Close and Session.Close on their own objects.
        connection.send(message.createReply());
        return true;
    }
    answer(message, connection);
    return true;
}

void FakePortal::answer(const QDBusMessage& message, const QDBusConnection& connection) {
    const Answer answer = m_answers.value(message.member());
    if (answer.kind == Answer::Kind::Error) {
        connection.send(message.createErrorReply(answer.errorName, QStringLiteral("not offered")));
        return;
    }
    const QVariantMap options = message.arguments().isEmpty()
                                    ? QVariantMap()
                                    : qdbus_cast<QVariantMap>(message.arguments().constLast());
    QString sender = message.service().mid(1);
    sender.replace(u'.', u'_');
    QString handle = QStringLiteral("%1/request/%2/%3")
                         .arg(portalPath, sender, options.value("handle_token").toString());
    if (answer.kind == Answer::Kind::OtherHandle)
        handle = QStringLiteral("%1/request/legacy%2").arg(portalPath).arg(++m_handles);

    QDBusMessage response = QDBusMessage::createTargetedSignal(
        message.service(), handle, QStringLiteral("org.freedesktop.portal.Request"),
        QStringLiteral("Response"));
    response << answer.code << answer.results;
    const QDBusMessage reply = message.createReply(QVariant::fromValue(QDBusObjectPath(handle)));
    if (answer.kind == Answer::Kind::RespondBeforeReply) {
        connection.send(response);
        connection.send(reply);
        return;
    }
    connection.send(reply);
    if (answer.kind != Answer::Kind::Silent)
        connection.send(response);
}

void FakePortal::activate(const QString& session, const QString& shortcut) {
    QDBusMessage signal = QDBusMessage::createTargetedSignal(
        m_lastCaller, portalPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
        QStringLiteral("Activated"));
    signal << QVariant::fromValue(QDBusObjectPath(session)) << shortcut << qulonglong(1234)
           << QVariantMap();
    QDBusConnection(m_connectionName).send(signal);
}
