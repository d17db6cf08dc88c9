#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Whole-file replacement for the files that hold the user's data. The bytes go to
// "<path>.saving" beside the target, reach the disk, and are renamed over the target, so a
// reader (or the next start after a crash) finds the old file or the new one, never a part.
// The temporary name is fixed, so what an interrupted write leaves behind can be found and
// removed; each path has one writer (the app runs once per user).
namespace AtomicFile {

bool write(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions,
           QString* error = nullptr);

// Removes what a write cut short by a crash or a kill left beside `path`: it holds the
// user's text and nothing else would ever delete it.
void removeLeftover(const QString& path);

// Writes all of `bytes` to `fd`, retrying short and interrupted writes. 0, or the errno
// that ended it (ENOSPC for a write that made no progress).
int writeFully(int fd, const QByteArray& bytes);

inline constexpr QFileDevice::Permissions ownerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace AtomicFile
