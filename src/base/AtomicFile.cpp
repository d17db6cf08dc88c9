#include "base/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString leftoverPath(const QString& path) {
    return path + QStringLiteral(".saving");
}

mode_t posixMode(QFileDevice::Permissions permissions) {
    mode_t mode = 0;
    if (permissions & QFileDevice::ReadOwner)
        mode |= S_IRUSR;
    if (permissions & QFileDevice::WriteOwner)
        mode |= S_IWUSR;
    if (permissions & QFileDevice::ReadGroup)
        mode |= S_IRGRP;
    if (permissions & QFileDevice::WriteGroup)
        mode |= S_IWGRP;
    if (permissions & QFileDevice::ReadOther)
        mode |= S_IROTH;
    if (permissions & QFileDevice::WriteOther)
        mode |= S_IWOTH;
    return mode;
}

bool fail(QString* error, const QString& what, const QString& file, int code) {
    if (error)
        *error = QStringLiteral("%1 %2: %3")
                     .arg(what, file, QString::fromLocal8Bit(std::strerror(code)));
    return false;
}

} // namespace

namespace AtomicFile {

bool write(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions,
           QString* error) {
    const QString temp = leftoverPath(path);
    const QByteArray nativeTemp = QFile::encodeName(temp);
    const mode_t mode = posixMode(permissions);
    const int fd = ::open(nativeTemp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return fail(error, QStringLiteral("Could not create"), temp, errno);
    // A leftover from an older write keeps its old mode through O_CREAT.
    ::fchmod(fd, mode);
    if (const int code = writeFully(fd, bytes); code != 0) {
        ::close(fd);
        ::unlink(nativeTemp.constData());
        return fail(error, QStringLiteral("Could not write"), temp, code);
    }
    // On disk before the rename, or a power cut can leave the new name on empty blocks.
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    const int closed = ::close(fd) == 0 ? 0 : errno;
    if (synced != 0 || closed != 0) {
        ::unlink(nativeTemp.constData());
        return fail(error, QStringLiteral("Could not write"), temp, synced ? synced : closed);
    }
    if (::rename(nativeTemp.constData(), QFile::encodeName(path).constData()) != 0) {
        const int code = errno;
        ::unlink(nativeTemp.constData());
        return fail(error, QStringLiteral("Could not replace"), path, code);
    }
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir); // the rename itself
        ::close(dir);
    }
    return true;
}

void removeLeftover(const QString& path) {
    QFile::remove(leftoverPath(path));
}

int writeFully(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        data += written;
        left -= written;
    }
    return 0;
}

} // namespace AtomicFile
