#pragma once

#include "platform/CrashCatcher.h"

#include <QString>

// Fatal signals caught with sigaction. The handler uses async-signal-safe calls only: it
// writes into a buffer prepared at install(), takes the raw backtrace and copies
// /proc/self/maps beside it, so the next run can tell which binary each address belongs to
// and name the function from that binary's symbol table. Records are "crash-*.record" files
// in the folder; this process's own record is never taken by itself.
class SignalCrashCatcher : public CrashCatcher {
public:
    explicit SignalCrashCatcher(QString folder);

    void install() override;
    QList<CrashDiagnostic> takeDiagnostics() override;

    static inline const QString recordPrefix = QStringLiteral("crash-");
    static inline const QString recordSuffix = QStringLiteral(".record");

private:
    QString m_folder;
    QString m_ownRecord;
};
