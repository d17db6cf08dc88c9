#include "platform/wayland/PortalScreenshot.h"

#include "platform/wayland/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QPointer>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace {
const QString screenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
} // namespace

PortalScreenshot::PortalScreenshot(QDBusConnection bus, QString service, int timeoutMs,
                                   QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_service(std::move(service)),
      m_timeoutMs(timeoutMs) {}

QString PortalScreenshot::defaultService() {
    return PortalRequest::desktopService();
}

void PortalScreenshot::take(Done done) {
    QVariantMap options{{QStringLiteral("interactive"), false}, {QStringLiteral("modal"), false}};
    auto* request =
        new PortalRequest(m_bus, m_service, screenshotInterface, QStringLiteral("Screenshot"),
                          {QString()}, std::move(options), m_timeoutMs, this);
    QPointer<PortalScreenshot> self(this);
    connect(request, &PortalRequest::finished, this,
            [self, done = std::move(done)](const PortalRequest::Response& response) {
                if (!self)
                    return;
                Result result;
                using Status = PortalRequest::Response::Status;
                switch (response.status) {
                case Status::Success:
                    self->m_lastRefused = false;
                    self->setPresence(Presence::Present);
                    self->finishReading(response.results, std::move(done));
                    return;
                case Status::Cancelled:
                case Status::Ended:
                    result.status = Result::Status::Refused;
                    result.error = QStringLiteral("the desktop refused the screenshot");
                    self->m_lastRefused = true;
                    self->setPresence(Presence::Present);
                    break;
                case Status::Failed:
                case Status::TimedOut:
                    result.status = Result::Status::Failed;
                    result.error = response.error;
                    break;
                }
                if (done)
                    done(result);
            });
    request->start();
}

// Decoding a whole-desktop PNG takes a while: not on the GUI thread.
void PortalScreenshot::finishReading(const QVariantMap& results, Done done) {
    auto* watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcher<Result>::finished, this, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        if (done)
            done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(&PortalScreenshot::readPicture, results));
}

PortalScreenshot::Result PortalScreenshot::readPicture(const QVariantMap& results) {
    Result result;
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile()) {
        result.error = QStringLiteral("the desktop portal named no picture file");
        return result;
    }
    const QString path = uri.toLocalFile();
    if (!QFileInfo(path).isFile()) {
        result.error = QStringLiteral("the desktop portal's picture is not a file");
        return result;
    }
    QImageReader reader(path);
    result.image = reader.read();
    // The picture is the user's whole screen: it must not outlive this capture on disk.
    QFile::remove(path);
    if (result.image.isNull()) {
        result.error = QStringLiteral("the desktop portal's picture could not be read: ") +
                       reader.errorString();
        return result;
    }
    result.status = Result::Status::Taken;
    return result;
}

void PortalScreenshot::probe() {
    if (!m_bus.isConnected()) {
        setPresence(Presence::Missing);
        return;
    }
    if (m_probing)
        return;
    m_probing = true;
    QDBusMessage get = QDBusMessage::createMethodCall(
        m_service, PortalRequest::desktopPath(), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get.setArguments({screenshotInterface, QStringLiteral("version")});
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(get, m_timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                m_probing = false;
                const QDBusPendingReply<QDBusVariant> reply = *call;
                // A slow answer says nothing about the portal; only a clear one does.
                if (reply.isError() && reply.error().type() == QDBusError::NoReply)
                    return;
                setPresence(reply.isError() ? Presence::Missing : Presence::Present);
            });
}

void PortalScreenshot::setPresence(Presence presence) {
    if (m_presence == presence)
        return;
    m_presence = presence;
    Q_EMIT presenceChanged();
}
