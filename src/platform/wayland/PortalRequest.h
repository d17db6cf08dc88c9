#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>

// One call of a desktop-portal method that answers later, through the Response signal of
// a Request object. The signal is subscribed to before the call goes out, so an answer
// that comes at once is not missed; a request that has no answer in time is closed and
// reported as timed out. GUI thread; never blocks.
class PortalRequest : public QObject {
    Q_OBJECT
public:
    struct Response {
        enum class Status {
            Success,   // the portal's response 0
            Cancelled, // 1: the user cancelled
            Ended,     // 2: refused or ended some other way
            Failed,    // the call itself failed (no portal, no such interface, ...)
            TimedOut,  // no answer in time
        };
        Status status = Status::Failed;
        QVariantMap results;
        QString error; // for Failed and TimedOut
    };

    // The portal frontend's well-known name and object.
    static QString desktopService();
    static QString desktopPath();

    // `arguments` are the method's arguments before its trailing options; a handle token is
    // added to `options`. The request deletes itself after finished().
    PortalRequest(QDBusConnection bus, QString service, QString interface, QString method,
                  QVariantList arguments, QVariantMap options, int timeoutMs,
                  QObject* parent = nullptr);

    // Sends the call; finished() follows exactly once, never from inside start().
    void start();

    // The Request object path a portal uses for `token` on `bus`.
    static QString requestPath(const QDBusConnection& bus, const QString& token);

Q_SIGNALS:
    void finished(const PortalRequest::Response& response);

private Q_SLOTS:
    void onResponse(const QDBusMessage& message);

private:
    void unsubscribe();
    void finish(Response response);
    void timeOut();

    QDBusConnection m_bus;
    QString m_service;
    QString m_interface;
    QString m_method;
    QVariantList m_arguments;
    QVariantMap m_options;
    QString m_path;
    QTimer m_timer;
    QList<QDBusMessage> m_early; // answers on other paths before the reply came
    bool m_subscribed = false;
    bool m_replied = false;
    bool m_done = false;
};
