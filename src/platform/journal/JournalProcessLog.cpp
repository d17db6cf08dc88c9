#include "platform/journal/JournalProcessLog.h"

#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <systemd/sd-id128.h>
#include <systemd/sd-journal.h>
#include <unistd.h>

namespace {

QtMessageHandler g_previousHandler = nullptr;

int priorityOf(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return 7;
    case QtInfoMsg:
        return 6;
    case QtWarningMsg:
        return 4;
    case QtCriticalMsg:
        return 3;
    case QtFatalMsg:
        return 2;
    }
    return 6;
}

void sendToJournal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const QByteArray text = message.toUtf8();
    const char* category = context.category ? context.category : "default";
    sd_journal_send("MESSAGE=%s", text.constData(), "PRIORITY=%d", priorityOf(type),
                    "QT_CATEGORY=%s", category, "SYSLOG_IDENTIFIER=glintext", nullptr);
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

QString field(sd_journal* journal, const char* name) {
    const void* data = nullptr;
    size_t length = 0;
    if (sd_journal_get_data(journal, name, &data, &length) < 0)
        return {};
    const size_t prefix = std::strlen(name) + 1; // "NAME="
    if (length < prefix)
        return {};
    return QString::fromUtf8(static_cast<const char*>(data) + prefix, qsizetype(length - prefix));
}

QString errorText(int negativeErrno) {
    return QString::fromLocal8Bit(std::strerror(-negativeErrno));
}

} // namespace

void JournalProcessLog::captureAppMessages() {
    if (::access(socketPath, W_OK) != 0)
        return; // nothing would receive them
    g_previousHandler = qInstallMessageHandler(sendToJournal);
}

ProcessLog::Export JournalProcessLog::entriesSince(const QDateTime& since, int limit) const {
    Export result;
    if (::access(socketPath, F_OK) != 0) {
        result.error = QStringLiteral("no systemd journal is running (%1: %2)")
                           .arg(QString::fromLatin1(socketPath), errorText(-errno));
        return result;
    }
    sd_journal* journal = nullptr;
    if (const int r = sd_journal_open(&journal, SD_JOURNAL_LOCAL_ONLY); r < 0) {
        result.error = QStringLiteral("sd_journal_open: %1").arg(errorText(r));
        return result;
    }
    sd_id128_t boot{};
    char bootText[SD_ID128_STRING_MAX];
    if (sd_id128_get_boot(&boot) >= 0) {
        const QByteArray match = QByteArray("_BOOT_ID=") + sd_id128_to_string(boot, bootText);
        sd_journal_add_match(journal, match.constData(), 0);
    }
    const QByteArray pid = "_PID=" + QByteArray::number(qint64(::getpid()));
    sd_journal_add_match(journal, pid.constData(), 0);
    const quint64 start = quint64(std::max<qint64>(0, since.toMSecsSinceEpoch())) * 1000;
    if (const int r = sd_journal_seek_realtime_usec(journal, start); r < 0) {
        result.error = QStringLiteral("sd_journal_seek_realtime_usec: %1").arg(errorText(r));
        sd_journal_close(journal);
        return result;
    }
    while (result.entries.size() < limit && sd_journal_next(journal) > 0) {
        uint64_t usec = 0;
        if (sd_journal_get_realtime_usec(journal, &usec) < 0 || usec < start)
            continue;
        QString category = field(journal, "QT_CATEGORY");
        if (category.isEmpty())
            category = field(journal, "SYSLOG_IDENTIFIER");
        result.entries.append({QDateTime::fromMSecsSinceEpoch(qint64(usec / 1000), Qt::UTC),
                               category, field(journal, "MESSAGE")});
    }
    sd_journal_close(journal);
    return result;
}
