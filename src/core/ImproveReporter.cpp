#include "core/ImproveReporter.h"

#include "base/Clock.h"
#include "base/TextUtil.h"
#include "core/AppInfo.h"
#include "core/AppSettings.h"
#include "core/CloudClient.h"
#include "core/CrashConfig.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QPointer>

#include <cmath>
#include <limits>

namespace {

QString orQuestionMark(const QString& value) {
    return value.isEmpty() ? QStringLiteral("?") : value;
}

// The event's JSON object, or nothing when the line is unreadable or its time is missing,
// not a number, or before `cutoff` (seconds since 1970).
std::optional<QJsonObject> liveEvent(const QByteArray& line, double cutoff) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue time = document.object().value(QLatin1String("t"));
    if (!time.isDouble() || time.toDouble() < cutoff)
        return std::nullopt;
    return document.object();
}

} // namespace

ImproveReporter::ImproveReporter(const AppSettings& settings, Defaults& defaults,
                                 CloudClient& client, const Clock& clock, QString queueFile,
                                 Timing timing, QObject* parent)
    : QObject(parent), m_client(client), m_defaults(defaults), m_clock(clock),
      m_file(std::move(queueFile)), m_timing(timing),
      m_enabled(settings.value(Settings::improveDataSharing)) {
    m_queue.setMaxThreadCount(1);
    m_queue.setExpiryTimeout(-1);
    // Every set to false empties the queue, even when sharing was already off.
    connect(&settings, &AppSettings::changed, this, [this, &settings](const QString& key) {
        if (key != QLatin1String(Settings::improveDataSharing.key))
            return;
        m_enabled = settings.value(Settings::improveDataSharing);
        if (!m_enabled)
            clearQueue();
    });
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_timer.start(int(m_timing.period.count()));
        flushNow(false);
    });
}

// What is queued is on the serial queue already; it is short file work and must not be lost.
ImproveReporter::~ImproveReporter() {
    m_queue.waitForDone();
}

void ImproveReporter::setTokenProvider(TokenProvider provider) {
    m_tokenProvider = std::move(provider);
}

void ImproveReporter::start() {
    const QJsonObject envelope = batchEnvelope();
    m_queue.start([this, envelope] { m_envelope = envelope; });
    m_timer.setSingleShot(true);
    m_timer.start(int(m_timing.firstFlush.count()));
    if (!m_enabled)
        clearQueue();
}

QJsonObject ImproveReporter::batchEnvelope() const {
    return {{"app", "glintext"},
            {"installID", CrashConfig::installID(m_defaults)},
            {"appVersion", orQuestionMark(AppInfo::version())},
            {"build", orQuestionMark(AppInfo::build())},
            {"os", AppInfo::osVersion()},
            {"arch", AppInfo::architecture()},
            {"locale", QLocale::system().name()}};
}

QJsonObject ImproveReporter::sanitize(const QVariantMap& properties, bool cutStrings) {
    QJsonObject clean;
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        const QVariant& value = it.value();
        switch (value.typeId()) {
        case QMetaType::QString: {
            const QString text = value.toString();
            clean.insert(it.key(),
                         cutStrings ? TextUtil::firstGraphemes(text, eventStringLimit) : text);
            break;
        }
        case QMetaType::Bool:
            clean.insert(it.key(), value.toBool());
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            clean.insert(it.key(), value.toLongLong());
            break;
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            if (value.toULongLong() <= quint64(std::numeric_limits<qint64>::max()))
                clean.insert(it.key(), value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            if (std::isfinite(value.toDouble()))
                clean.insert(it.key(), value.toDouble());
            break;
        default: // dates, lists, maps: not ours to guess
            break;
        }
    }
    return clean;
}

void ImproveReporter::record(const QString& name, const QVariantMap& properties) {
    if (!m_enabled)
        return;
    const double seconds = double(m_clock.now().toMSecsSinceEpoch()) / 1000.0;
    const QJsonObject event{{"t", seconds}, {"n", name}, {"p", sanitize(properties, true)}};
    const QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact);
    m_queue.start([this, line] {
        m_file.append(line);
        if (m_file.readLines().size() >= flushThreshold)
            flushOnWorker({});
    });
}

void ImproveReporter::clearQueue() {
    m_queue.start([this] { m_file.remove(); });
}

void ImproveReporter::waitForQueue() {
    m_queue.waitForDone();
}

void ImproveReporter::flushNow(bool sync) {
    if (!sync) {
        m_queue.start([this] { flushOnWorker({}); });
        return;
    }
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    QPointer<ImproveReporter> self(this);
    m_queue.start([this, waiting, self] {
        flushOnWorker([waiting, self] {
            // Back on the GUI thread, where the loop runs; it may have given up already.
            QMetaObject::invokeMethod(
                self,
                [waiting] {
                    if (waiting)
                        waiting->quit();
                },
                Qt::QueuedConnection);
        });
    });
    QTimer::singleShot(m_timing.finalFlushLimit, &loop, &QEventLoop::quit);
    loop.exec();
}

// Worker. Steps of one flush: decide, send on the GUI thread, settle the file on the answer.
void ImproveReporter::flushOnWorker(const Completion& completion) {
    std::optional<Batch> batch;
    if (m_enabled && !m_inFlight && m_envelope)
        batch = takeBatch();
    if (!batch) {
        if (completion)
            completion();
        return;
    }
    m_inFlight = true;
    m_sentRead = batch->read;
    m_sentRemainder = batch->remainder;
    QMetaObject::invokeMethod(
        this, [this, body = batch->body, completion] { sendBatch(body, completion); },
        Qt::QueuedConnection);
}

// Worker. The next batch, or nothing to send (the file then holds only what may still go).
std::optional<ImproveReporter::Batch> ImproveReporter::takeBatch() {
    Batch batch;
    batch.read = m_file.readLines();
    if (batch.read.isEmpty())
        return std::nullopt;
    const double cutoff = double(m_clock.now().toMSecsSinceEpoch()) / 1000.0 - maxEventAgeSeconds;
    QJsonArray events;
    for (const QByteArray& line : batch.read) {
        const std::optional<QJsonObject> event = liveEvent(line, cutoff);
        if (!event)
            continue;
        if (events.size() < batchLimit)
            events.append(*event);
        else
            batch.remainder.append(line);
    }
    if (events.isEmpty()) {
        m_file.rewrite(batch.remainder);
        return std::nullopt;
    }
    batch.body = *m_envelope;
    batch.body.insert(QStringLiteral("events"), events);
    return batch;
}

QCoro::Task<> ImproveReporter::sendBatch(QJsonObject body, Completion completion) {
    const std::optional<QString> token = m_tokenProvider ? m_tokenProvider() : std::nullopt;
    CloudClient::Request request{"POST", m_client.absoluteUrl(QStringLiteral("/api/improve")),
                                 std::move(body), token.value_or(QString()), requestTimeout};
    QPointer<ImproveReporter> self(this);
    // In a statement of its own: g++ 12 double-destroys temporaries built inside a co_await.
    QCoro::Task<CloudClient::Response> sending = m_client.send(std::move(request));
    const CloudClient::Response response = co_await sending;
    if (!self)
        co_return;
    const int status = response.status;
    m_queue.start([this, status, completion] { finishOnWorker(status, completion); });
    Q_EMIT batchAnswered(status);
}

// Worker. An answer of 200-499 takes the lines this flush read out of the file, keeping the
// remainder and whatever was appended since; anything else leaves the file for the next try.
void ImproveReporter::finishOnWorker(int status, const Completion& completion) {
    m_inFlight = false;
    if (status >= 200 && status <= 499) {
        const QList<QByteArray> now = m_file.readLines();
        const qsizetype read = m_sentRead.size();
        // The file only grows while a batch is out, unless sharing went off and emptied it.
        if (now.size() >= read && std::equal(m_sentRead.begin(), m_sentRead.end(), now.begin()))
            m_file.rewrite(m_sentRemainder + now.mid(read));
    }
    m_sentRead.clear();
    m_sentRemainder.clear();
    if (completion)
        completion();
}

void ImproveReporter::sample(const QVariantMap& properties) {
    if (!m_enabled)
        return;
    QJsonObject body = sanitize(properties, false);
    QMetaObject::invokeMethod(
        this,
        [this, body]() mutable {
            body.insert("app", "glintext");
            body.insert("installID", CrashConfig::installID(m_defaults));
            body.insert("appVersion", orQuestionMark(AppInfo::version()));
            body.insert("os", AppInfo::osVersion());
            sendSample(body);
        },
        Qt::QueuedConnection);
}

void ImproveReporter::sendSample(QJsonObject body) {
    const std::optional<QString> token = m_tokenProvider ? m_tokenProvider() : std::nullopt;
    if (!token || token->isEmpty())
        return;
    CloudClient::Request request{"POST",
                                 m_client.absoluteUrl(QStringLiteral("/api/improve/sample")),
                                 std::move(body), *token, requestTimeout};
    m_client.send(std::move(request)); // fire and forget: the outcome changes nothing
}
