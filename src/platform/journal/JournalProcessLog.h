#pragma once

#include "platform/ProcessLog.h"

// The systemd journal: Qt messages are sent with sd_journal_send (category in QT_CATEGORY),
// and read back by this boot's _BOOT_ID and this process's _PID. Without a journald socket
// the export fails with a reason instead of reading an empty or stale journal.
class JournalProcessLog : public ProcessLog {
public:
    void captureAppMessages() override;
    Export entriesSince(const QDateTime& since, int limit) const override;

    static inline const char* socketPath = "/run/systemd/journal/socket";
};
