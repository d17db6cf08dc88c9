#include "support/UpdaterController.h"

#include "BuildConfig.h"
#include "core/Defaults.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

UpdaterController::UpdaterController(QNetworkAccessManager& network, Defaults& defaults,
                                     Options options, QObject* parent)
    : QObject(parent), m_network(network), m_defaults(defaults), m_options(std::move(options)) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { check(false); });
}

bool UpdaterController::feedConfigured() {
    return configuredFeed().isValid();
}

QUrl UpdaterController::configuredFeed() {
    const QString address = QString::fromUtf8(BuildConfig::feedUrl);
    const QUrl url(address, QUrl::StrictMode);
    if (address.isEmpty() || !url.isValid() ||
        (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        return {};
    return url;
}

void UpdaterController::start() {
    schedule();
}

void UpdaterController::checkForUpdates() {
    check(true);
}

bool UpdaterController::automaticallyChecksForUpdates() const {
    return m_defaults.boolValue(automaticChecksKey).value_or(true);
}

void UpdaterController::setAutomaticallyChecksForUpdates(bool on) {
    m_defaults.setBool(automaticChecksKey, on);
    schedule();
}

QDateTime UpdaterController::now() const {
    return m_options.now ? m_options.now() : QDateTime::currentDateTimeUtc();
}

QDateTime UpdaterController::nextCheckDue() const {
    if (!automaticallyChecksForUpdates())
        return {};
    const std::optional<double> last = m_defaults.doubleValue(lastCheckKey);
    if (!last)
        return now();
    const QDateTime lastCheck = QDateTime::fromMSecsSinceEpoch(qint64(*last * 1000), Qt::UTC);
    // A last check in the future (the clock was set back) counts as made now.
    return std::min(lastCheck, now()).addMSecs(m_options.checkInterval.count());
}

void UpdaterController::schedule() {
    m_timer.stop();
    const QDateTime due = nextCheckDue();
    if (!due.isValid())
        return;
    m_timer.start(std::chrono::milliseconds(std::max<qint64>(now().msecsTo(due), 0)));
}

void UpdaterController::check(bool userInitiated) {
    if (m_reply) {
        // One check at a time; a user's request joins the one running and gets its outcome.
        m_pendingUserCheck = m_pendingUserCheck || userInitiated;
        return;
    }
    m_pendingUserCheck = userInitiated;
    QNetworkRequest request(m_options.feedUrl);
    request.setTransferTimeout(int(m_options.timeout.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setRawHeader("Accept", "application/rss+xml, application/xml, text/xml");
    m_reply = m_network.get(request);
    QNetworkReply* reply = m_reply;
    connect(reply, &QNetworkReply::finished, this,
            [this, reply] { finished(reply, m_pendingUserCheck); });
}

void UpdaterController::finished(QNetworkReply* reply, bool userInitiated) {
    reply->deleteLater();
    m_reply = nullptr;
    m_pendingUserCheck = false;
    m_defaults.setDouble(lastCheckKey, double(now().toMSecsSinceEpoch()) / 1000.0);
    schedule();

    Result result;
    result.userInitiated = userInitiated;
    result.currentVersion = m_options.currentVersion;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString error;
    std::optional<QList<Appcast::Item>> items;
    // An HTTP answer says more in its status than in the transport's wording of it.
    if (status != 0 && (status < 200 || status > 299))
        error = QStringLiteral("the feed answered with status %1").arg(status);
    else if (reply->error() != QNetworkReply::NoError)
        error = reply->errorString();
    else if (!(items = Appcast::parse(reply->readAll(), &error)))
        error = QStringLiteral("the feed could not be read: %1").arg(error);

    if (items) {
        result.item = Appcast::newestAfter(*items, m_options.currentVersion);
        result.outcome = result.item ? Result::Outcome::UpdateAvailable : Result::Outcome::UpToDate;
    } else {
        result.error = error;
    }
    if (userInitiated || result.outcome == Result::Outcome::UpdateAvailable)
        Q_EMIT checkFinished(result);
}
