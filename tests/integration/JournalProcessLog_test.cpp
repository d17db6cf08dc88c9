// The systemd journal as tester mode reads it: this process's own Qt messages come back with
// their category; without a running journal the export says why instead of reading nothing.
#include "platform/journal/JournalProcessLog.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QThread>
#include <QUuid>

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

Q_LOGGING_CATEGORY(journalTest, "glintext.journaltest")

TEST(JournalProcessLog, OwnMessagesComeBackOrTheExportSaysWhyNot) {
    JournalProcessLog log;
    const QDateTime since = QDateTime::currentDateTimeUtc().addSecs(-1);
    log.captureAppMessages();
    const QString marker = QUuid::createUuid().toString();
    qCWarning(journalTest).noquote() << "journal test" << marker;

    if (::access(JournalProcessLog::socketPath, F_OK) != 0) {
        const ProcessLog::Export exported = log.entriesSince(since, 10);
        EXPECT_TRUE(exported.entries.isEmpty());
        EXPECT_TRUE(exported.error.startsWith("no systemd journal is running"))
            << exported.error.toStdString();
        return;
    }
    // journald writes asynchronously: give it a moment.
    QDeadlineTimer deadline(5000);
    ProcessLog::Export exported;
    bool found = false;
    while (!found && !deadline.hasExpired()) {
        exported = log.entriesSince(since, 4000);
        for (const ProcessLogEntry& entry : exported.entries)
            found = found || (entry.message == "journal test " + marker &&
                              entry.category == "glintext.journaltest");
        if (!found)
            QThread::msleep(100);
    }
    std::printf("read %d journal entries of this process\n", int(exported.entries.size()));
    EXPECT_TRUE(exported.error.isEmpty()) << exported.error.toStdString();
    EXPECT_TRUE(found);
    EXPECT_LE(log.entriesSince(since, 1).entries.size(), 1);
}
