#pragma once

#include <QString>

// The app's own diagnostic log: "tester.log" in the data folder with one rotated
// predecessor "tester.log.1". Safe from any thread; never fails towards the caller.
namespace DebugLog {

inline constexpr qint64 rotationThreshold = 524288;
inline constexpr qsizetype tailCharacters = 262144;

void log(const QString& message);
// Off for the rest of the process: a command that must not write the user's files (the
// recognize command) drops its lines instead.
void disable();
// The end of the log (rotated file, then current file), at most tailCharacters
// user-perceived characters.
QString tail();

QString currentPath();
QString rotatedPath();

} // namespace DebugLog
