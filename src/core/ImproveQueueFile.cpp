#include "core/ImproveQueueFile.h"

#include "base/AtomicFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QList<QByteArray> ImproveQueueFile::readLines() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

void ImproveQueueFile::append(const QByteArray& line) const {
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    QByteArray bytes = line + '\n';
    struct stat st {};
    char last = '\n';
    if (::fstat(fd, &st) == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 &&
        last != '\n')
        bytes.prepend('\n');
    AtomicFile::writeFully(fd, bytes); // a failed append loses this line only
    ::close(fd);
}

void ImproveQueueFile::rewrite(const QList<QByteArray>& lines) const {
    if (lines.isEmpty()) {
        remove();
        return;
    }
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + '\n';
    AtomicFile::write(m_path, bytes, AtomicFile::ownerOnly);
}

void ImproveQueueFile::remove() const {
    QFile::remove(m_path);
}
