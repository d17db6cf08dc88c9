// A process that installs the crash catcher and then dies the way it is told:
//   crashing_child FOLDER segv|abort|wait
// "wait" prints "ready" and sleeps until a signal from outside ends it.
#include "platform/crash/SignalCrashCatcher.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

[[gnu::noinline]] void crashInTheMiddleOfWork() {
    volatile std::uintptr_t address = 0; // a real load from page zero, not a compiler trap
    std::printf("%d\n", *reinterpret_cast<volatile int*>(address));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    SignalCrashCatcher catcher(QString::fromLocal8Bit(argv[1]));
    catcher.install();
    const QByteArray how(argv[2]);
    if (how == "segv")
        crashInTheMiddleOfWork();
    else if (how == "abort")
        std::abort();
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        ::pause();
}
