#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What is known about one crash of an earlier run. Members the platform cannot supply are
// absent.
struct CrashDiagnostic {
    QString osVersion;    // of the crashed run
    QString architecture; // of the crashed run ("x86_64")
    QByteArray callStack; // JSON text: the crashed thread's frames, symbolised where possible
    std::optional<int> signal;
    std::optional<qint64> exceptionType;
    std::optional<qint64> exceptionCode;
    std::optional<QString> terminationReason;
};

// Catches this process's fatal signals (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT) and writes
// one crash record for each into a folder, then lets the signal's default action end the
// process. A later run turns the records into diagnostics.
class CrashCatcher {
public:
    virtual ~CrashCatcher() = default;

    // Installs the handlers for this process; call once, in the process that runs the app.
    virtual void install() = 0;
    // The diagnostics of the records earlier runs left, oldest first. Each record is deleted
    // as it is handed over, so a crash is delivered once.
    virtual QList<CrashDiagnostic> takeDiagnostics() = 0;
};
