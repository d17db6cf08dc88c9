#include "core/DebugLog.h"

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/TextUtil.h"

#include <QDateTime>
#include <QFile>
#include <QStringDecoder>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<bool> g_disabled{false};

std::mutex& logLock() {
    static std::mutex lock;
    return lock;
}

QByteArray encode(const QString& path) {
    return QFile::encodeName(path);
}

QString readUtf8(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return {};
    return text;
}

} // namespace

namespace DebugLog {

QString currentPath() {
    return AppPaths::dataFile("tester.log");
}
QString rotatedPath() {
    return AppPaths::dataFile("tester.log.1");
}

void disable() {
    g_disabled = true;
}

void log(const QString& message) {
    if (g_disabled)
        return;
    const QString stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    const QByteArray line = (stamp + " " + message + "\n").toUtf8();
    const QString dir = AppPaths::dataDir();
    const QByteArray current = encode(dir + "/tester.log");
    const QByteArray rotated = encode(dir + "/tester.log.1");

    std::lock_guard guard(logLock());
    struct stat st {};
    if (::stat(current.constData(), &st) == 0 && st.st_size > rotationThreshold) {
        ::unlink(rotated.constData());
        ::rename(current.constData(), rotated.constData());
    }
    const int fd = ::open(current.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    AtomicFile::writeFully(fd, line); // a failed log write is dropped
    ::close(fd);
}

QString tail() {
    QString text;
    {
        std::lock_guard guard(logLock());
        text = readUtf8(rotatedPath());
        text += readUtf8(currentPath());
    }
    return TextUtil::lastGraphemes(text, tailCharacters);
}

} // namespace DebugLog
