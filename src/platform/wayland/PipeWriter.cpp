#include "platform/wayland/PipeWriter.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

// write() to a pipe whose reader is gone raises SIGPIPE, which ends the process unless it is
// ignored. The signal is held back on this thread for the one call and, if the call raised
// it, taken from the pending set, so the process-wide disposition stays as it was.
ssize_t writeWithoutSigpipe(int fd, const char* data, size_t size) {
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    ssize_t result;
    do {
        result = ::write(fd, data, size);
    } while (result < 0 && errno == EINTR);
    const int error = errno;
    if (result < 0 && error == EPIPE && !wasPending) {
        const timespec none{0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &none) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return result;
}

} // namespace

PipeWriter::PipeWriter(int fd, QByteArray data, QObject* parent)
    : QObject(parent), m_fd(fd), m_data(std::move(data)) {
    const int flags = fcntl(m_fd, F_GETFL);
    if (flags < 0 || fcntl(m_fd, F_SETFL, flags | O_NONBLOCK) < 0) {
        // Not a descriptor that can be written: end the transfer from the event loop, so
        // the caller can connect finished() first.
        QTimer::singleShot(0, this, [this] { finish(false); });
        return;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
    m_notifier->setEnabled(false);
    connect(m_notifier, &QSocketNotifier::activated, this, &PipeWriter::writeSome);
    // Writing starts from the event loop, so finished() never comes before it is connected.
    QTimer::singleShot(0, this, &PipeWriter::writeSome);
}

PipeWriter::~PipeWriter() {
    if (m_notifier)
        m_notifier->setEnabled(false); // before its descriptor is closed
    if (m_fd >= 0)
        ::close(m_fd);
}

void PipeWriter::writeSome() {
    if (m_finished)
        return;
    while (m_written < m_data.size()) {
        const ssize_t n = writeWithoutSigpipe(m_fd, m_data.constData() + m_written,
                                              size_t(m_data.size() - m_written));
        if (n > 0) {
            m_written += n;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            m_notifier->setEnabled(true); // the reader has not caught up: wait for room
            return;
        }
        finish(false); // EPIPE (the reader left) or another error
        return;
    }
    finish(true);
}

void PipeWriter::finish(bool complete) {
    if (m_finished)
        return;
    m_finished = true;
    // Only disabled: this may run inside the notifier's own signal.
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (m_fd >= 0)
        ::close(m_fd); // end of data for the reader
    m_fd = -1;
    Q_EMIT finished(complete);
    deleteLater();
}
