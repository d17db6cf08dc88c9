#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// Hands bytes to a reader through a file descriptor (the pipe a clipboard reader passed)
// without ever blocking the GUI thread: the descriptor is made non-blocking and written
// whenever it has room, from the event loop. A reader that closes its end early ends the
// transfer quietly instead of raising SIGPIPE. The writer owns the descriptor and closes it
// when the transfer ends; finished() follows once, and the writer then deletes itself.
class PipeWriter : public QObject {
    Q_OBJECT
public:
    // Takes ownership of `fd`; the first bytes go out at once, the rest as the reader reads.
    PipeWriter(int fd, QByteArray data, QObject* parent = nullptr);
    ~PipeWriter() override;

    qsizetype written() const { return m_written; }

Q_SIGNALS:
    // `complete`: every byte reached the descriptor; false when the reader went away first.
    void finished(bool complete);

private:
    void writeSome();
    void finish(bool complete);

    int m_fd;
    QByteArray m_data;
    qsizetype m_written = 0;
    QSocketNotifier* m_notifier = nullptr;
    bool m_finished = false;
};
