#include "core/TesterMode.h"

#include "base/Clock.h"
#include "base/TextUtil.h"
#include "core/AppInfo.h"
#include "core/CloudClient.h"
#include "core/CrashConfig.h"
#include "core/DebugLog.h"
#include "core/Defaults.h"
#include "platform/ProcessLog.h"

#include <QPointer>
#include <QStringList>
#include <QtConcurrent>

#include <QCoroFuture>

namespace {

QString orDefault(const QString& value, const char* fallback) {
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

QString processLogText(const ProcessLog::Export& exported) {
    if (!exported.error.isEmpty())
        return QStringLiteral("(oslog export failed: %1)").arg(exported.error);
    QStringList lines;
    lines.reserve(exported.entries.size());
    for (const ProcessLogEntry& entry : exported.entries) {
        lines.append(entry.date.toUTC().toString(Qt::ISODate) + QStringLiteral(" [") +
                     entry.category + QStringLiteral("] ") + entry.message);
    }
    return lines.join(u'\n');
}

} // namespace

TesterMode::TesterMode(Defaults& defaults, CloudClient& client, ProcessLog& processLog,
                       const Clock& clock, std::chrono::milliseconds uploadPeriod, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_client(client), m_processLog(processLog),
      m_clock(clock), m_uploadPeriod(uploadPeriod),
      m_enabled(defaults.boolValue(QString::fromLatin1(enabledKey)).value_or(false)) {
    const std::optional<QString> stored = defaults.stringValue(QString::fromLatin1(lastExportKey));
    m_lastExport = stored ? QDateTime::fromString(*stored, Qt::ISODateWithMs) : QDateTime();
    if (!m_lastExport.isValid())
        m_lastExport = clock.now().addSecs(-1800);
    connect(&m_timer, &QTimer::timeout, this, &TesterMode::upload);
}

void TesterMode::start() {
    m_processLog.captureAppMessages();
    if (!m_enabled)
        return;
    DebugLog::log(QStringLiteral("tester: session start (v%1 build %2)")
                      .arg(orDefault(AppInfo::version(), "dev"), orDefault(AppInfo::build(), "0")));
    scheduleTimer();
    upload();
}

void TesterMode::toggle() {
    m_enabled = !m_enabled;
    m_defaults.setBool(QString::fromLatin1(enabledKey), m_enabled);
    Q_EMIT enabledChanged(m_enabled);
    if (m_enabled) {
        DebugLog::log(QStringLiteral("tester: mode ON"));
        scheduleTimer();
        upload();
    } else {
        DebugLog::log(QStringLiteral("tester: mode OFF"));
        upload(); // the last one, which ends with the line above
        m_timer.stop();
    }
}

void TesterMode::scheduleTimer() {
    m_timer.stop();
    m_timer.start(m_uploadPeriod);
}

void TesterMode::upload() {
    const QDateTime since = m_lastExport;
    m_lastExport = m_clock.now();
    m_defaults.setString(QString::fromLatin1(lastExportKey),
                         m_lastExport.toUTC().toString(Qt::ISODateWithMs));
    send(since, DebugLog::tail());
}

QCoro::Task<> TesterMode::send(QDateTime since, QString tail) {
    // Reading the journal and assembling the text may take a while: off the GUI thread.
    ProcessLog* log = &m_processLog;
    QFuture<QString> assembling = QtConcurrent::run([log, since, tail] {
        return reportText(tail, since, processLogText(log->entriesSince(since, maxLogEntries)));
    });
    QPointer<TesterMode> self(this);
    const QString text = co_await assembling;
    if (!self)
        co_return;
    const CloudClient::Request request{
        "POST", m_client.absoluteUrl(QStringLiteral("/api/testlog")), body(text), {}};
    m_client.send(request); // fire and forget: no retry, the window is consumed
    Q_EMIT uploadStarted();
}

QJsonObject TesterMode::body(const QString& log) const {
    return {{"type", "testlog"},
            {"app", "glintext"},
            {"installID", CrashConfig::installID(m_defaults)},
            {"appVersion", orDefault(AppInfo::version(), "dev")},
            {"build", orDefault(AppInfo::build(), "0")},
            {"osVersion", AppInfo::osVersion()},
            {"log", log}};
}

QString TesterMode::reportText(const QString& appLog, const QDateTime& since,
                               const QString& processLogText) {
    const QString window =
        since.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000");
    return cutToLimit(QStringLiteral("== app log (DebugLog) ==\n") + appLog +
                      QStringLiteral("\n\n== unified log (own process, since ") + window +
                      QStringLiteral(") ==\n") + processLogText);
}

// Over the limit, the text keeps its last 700,000 characters; where those are wider than
// one byte each, it keeps only as many as fit in 700,000 bytes, so the limit holds.
QString TesterMode::cutToLimit(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= maxReportBytes)
        return text;
    const QString last = TextUtil::lastGraphemes(text, maxReportBytes);
    bytes = last.toUtf8();
    if (bytes.size() <= maxReportBytes)
        return last;
    qsizetype start = bytes.size() - maxReportBytes;
    while (start < bytes.size() && (uchar(bytes[start]) & 0xC0) == 0x80)
        ++start; // not in the middle of a character
    return QString::fromUtf8(bytes.mid(start));
}
