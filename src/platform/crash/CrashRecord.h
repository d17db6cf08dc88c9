#pragma once

#include "platform/CrashCatcher.h"

#include <QByteArray>
#include <QString>

// The text of one crash record and its reading. A record is lines of "key value" (the
// header written at install, then what the signal handler knows), "frames" and one
// hexadecimal return address per line, then "maps" and the crashed process's
// /proc/self/maps. A record cut short (the process died while writing it) still reads.
namespace CrashRecord {

// The lines written at install time: format, operating system and architecture.
QByteArray header(const QString& osVersion, const QString& architecture);

// The diagnostic of a record: the signal, a termination reason in words, and the call stack
// as JSON, each frame with its binary and offset and, where the binary has a symbol table
// and is still the file that crashed, the function's name.
CrashDiagnostic diagnostic(const QByteArray& record);

} // namespace CrashRecord
