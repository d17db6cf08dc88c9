#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariantMap>

// A desktop portal on the session bus, under a name of its own and on a connection of its
// own, that answers the calls of the portal clients the way a real portal does: a Request
// handle in the method reply, the outcome later as that Request's Response signal.
// Each method's answer is set by the test.
class FakePortal : public QDBusVirtualObject {
    Q_OBJECT
public:
    struct Answer {
        enum class Kind {
            Respond,            // reply with the handle, then emit Response
            RespondBeforeReply, // emit Response before the method reply goes out
            OtherHandle,        // reply with a handle of the portal's own choosing, then Response
            Error,              // a D-Bus error reply
            Silent,             // reply with the handle and never respond
        };
        Kind kind = Kind::Respond;
        uint code = 0;
        QVariantMap results;
        QString errorName = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
    };

    FakePortal();
    ~FakePortal() override;

    QString service() const { return m_service; }
    bool isValid() const { return m_valid; }

    void setAnswer(const QString& method, Answer answer) { m_answers.insert(method, answer); }
    // Interfaces whose "version" property reads (others answer an error).
    void setInterfaces(const QSet<QString>& interfaces) { m_interfaces = interfaces; }

    // Every call received, in order (methods of the portal, Request and Session objects).
    QList<QDBusMessage> calls() const { return m_calls; }
    QList<QDBusMessage> callsOf(const QString& member) const;
    QString lastCaller() const { return m_lastCaller; }

    // Emits GlobalShortcuts.Activated to the last caller.
    void activate(const QString& session, const QString& shortcut);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    void answer(const QDBusMessage& message, const QDBusConnection& connection);

    QString m_connectionName;
    QString m_service;
    bool m_valid = false;
    QHash<QString, Answer> m_answers;
    QSet<QString> m_interfaces;
    QList<QDBusMessage> m_calls;
    QString m_lastCaller;
    int m_handles = 0;
};
