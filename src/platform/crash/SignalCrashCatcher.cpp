#include "platform/crash/SignalCrashCatcher.h"

#include "platform/crash/CrashRecord.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <atomic>
#include <csignal>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <ucontext.h>
#include <unistd.h>

namespace {

constexpr int fatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr int maxFrames = 128;

// Prepared at install(); the handler only reads them.
char g_path[4096];
char g_header[2048];
size_t g_headerLength = 0;
std::atomic<pid_t> g_handlingThread{0}; // the thread writing the record
char g_altStack[64 * 1024];             // a stack overflow still gets its record

// Appends to a fixed buffer without allocating; what does not fit is cut.
struct Writer {
    char* data;
    size_t capacity;
    size_t length = 0;
    void text(const char* s) {
        while (*s && length < capacity)
            data[length++] = *s++;
    }
    void number(unsigned long long value, unsigned base = 10) {
        char digits[32];
        int n = 0;
        do {
            digits[n++] = "0123456789abcdef"[value % base];
            value /= base;
        } while (value && n < 32);
        while (n > 0 && length < capacity)
            data[length++] = digits[--n];
    }
    void signedNumber(long long value) {
        if (value < 0) {
            text("-");
            number(static_cast<unsigned long long>(-(value + 1)) + 1);
        } else {
            number(static_cast<unsigned long long>(value));
        }
    }
    void hex(const void* pointer) {
        text("0x");
        number(reinterpret_cast<uintptr_t>(pointer), 16);
    }
};

void writeAll(int fd, const char* data, size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written <= 0)
            return;
        data += written;
        length -= size_t(written);
    }
}

void copyMaps(int fd) {
    const int maps = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (maps < 0)
        return;
    char chunk[4096];
    ssize_t n;
    while ((n = ::read(maps, chunk, sizeof chunk)) > 0)
        writeAll(fd, chunk, size_t(n));
    ::close(maps);
}

// Where the signal interrupted the program; 0 when this architecture is not known here.
uintptr_t interruptedAt(const void* context) {
    const auto* uc = static_cast<const ucontext_t*>(context);
    if (!uc)
        return 0;
#if defined(__x86_64__)
    return uintptr_t(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
    return uintptr_t(uc->uc_mcontext.pc);
#else
    return 0;
#endif
}

void writeRecord(int signal, const siginfo_t* info, const void* context) {
    const int fd = ::open(g_path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    writeAll(fd, g_header, g_headerLength);
    char buffer[8192];
    Writer line{buffer, sizeof buffer};
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    line.text("signal ");
    line.number(unsigned(signal));
    line.text("\ncode ");
    line.signedNumber(info ? info->si_code : 0);
    line.text("\nsender ");
    line.signedNumber(info ? info->si_pid : 0);
    line.text("\naddress ");
    line.hex(info ? info->si_addr : nullptr);
    line.text("\ntime ");
    line.number(static_cast<unsigned long long>(now.tv_sec));
    line.text("\nframes\n");
    void* frames[maxFrames];
    const int count = ::backtrace(frames, maxFrames);
    // The handler's own frames and the kernel's trampoline come first: start where the
    // program was interrupted when it is in the list.
    int first = 0;
    const uintptr_t pc = interruptedAt(context);
    for (int i = 0; pc && i < count; ++i) {
        if (reinterpret_cast<uintptr_t>(frames[i]) == pc) {
            first = i;
            break;
        }
    }
    for (int i = first; i < count; ++i) {
        line.hex(frames[i]);
        line.text("\n");
    }
    line.text("maps\n");
    writeAll(fd, buffer, line.length);
    copyMaps(fd);
    ::fsync(fd);
    ::close(fd);
}

void onFatalSignal(int signal, siginfo_t* info, void* context) {
    const pid_t self = ::gettid();
    pid_t first = 0;
    if (!g_handlingThread.compare_exchange_strong(first, self)) {
        if (first == self) { // a fault while writing the record: end without it
            struct sigaction fallback {};
            fallback.sa_handler = SIG_DFL;
            ::sigaction(signal, &fallback, nullptr);
            ::raise(signal);
            return;
        }
        // Another thread crashed first and is writing the record: its re-raise ends us all.
        for (;;)
            ::pause();
    }
    writeRecord(signal, info, context);
    // SA_RESETHAND put the default action back; a signal sent from outside would otherwise be
    // swallowed, and a fault re-executes its instruction anyway.
    ::raise(signal);
}

} // namespace

SignalCrashCatcher::SignalCrashCatcher(QString folder) : m_folder(std::move(folder)) {}

void SignalCrashCatcher::install() {
    const qint64 started = QDateTime::currentMSecsSinceEpoch();
    m_ownRecord = QStringLiteral("%1%2-%3%4")
                      .arg(recordPrefix)
                      .arg(started)
                      .arg(::getpid())
                      .arg(recordSuffix);
    const QByteArray path = QFile::encodeName(m_folder + u'/' + m_ownRecord);
    if (size_t(path.size()) >= sizeof g_path)
        return;
    std::memcpy(g_path, path.constData(), size_t(path.size()) + 1);
    const QByteArray header =
        CrashRecord::header(QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture());
    g_headerLength = std::min(size_t(header.size()), sizeof g_header);
    std::memcpy(g_header, header.constData(), g_headerLength);

    // The first backtrace() loads the unwinder, which allocates: not in a signal handler.
    void* warmUp[2];
    ::backtrace(warmUp, 2);

    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    ::sigaltstack(&stack, nullptr);
    struct sigaction action {};
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : fatalSignals)
        ::sigaction(signal, &action, nullptr);
}

QList<CrashDiagnostic> SignalCrashCatcher::takeDiagnostics() {
    QList<CrashDiagnostic> diagnostics;
    const QStringList names =
        QDir(m_folder).entryList({recordPrefix + u'*' + recordSuffix}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (name == m_ownRecord)
            continue;
        const QString path = m_folder + u'/' + name;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            diagnostics.append(CrashRecord::diagnostic(file.readAll()));
        file.remove();
    }
    return diagnostics;
}
