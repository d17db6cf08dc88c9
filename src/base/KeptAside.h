#pragma once

#include <QByteArray>
#include <QString>

// A file of the user's that the app cannot use (it does not parse, or cannot be read) is
// never overwritten: it is kept beside the original as "<name>.corrupt", older ones as
// "<name>.corrupt.1", "<name>.corrupt.2" ..., newest first. Only the oldest beyond
// `maxCopies` is dropped, so a file damaged again does not take the previous copy with it.
namespace KeptAside {

inline constexpr int maxCopies = 5;

// "<path>.corrupt" for n == 0, else "<path>.corrupt.<n>".
QString copyPath(const QString& path, int n);

// Keeps `bytes` (what was read from `path`) as the newest copy, readable by the owner only;
// `path` itself stays. The copy's path, or empty when it could not be written.
QString keepCopy(const QString& path, const QByteArray& bytes);

// Moves `path` aside as the newest copy (for a file that cannot be read: its bytes and mode
// stay as they are). The new path, or empty when it could not be moved.
QString moveAside(const QString& path);

} // namespace KeptAside
