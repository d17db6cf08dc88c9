#include <QApplication>
#include <QTextStream>

#include "BuildConfig.h"
#include "app/RecognizeCommand.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Debian's Tesseract uses OpenMP, which reads OMP_THREAD_LIMIT once when it loads; on two
// cores an unlimited pool makes recognition several times slower. Setting it in main() is
// too late, so the process re-executes itself with the variable set.
void ensureSingleThreadedOpenMP(char** argv) {
    if (qEnvironmentVariableIsSet("OMP_THREAD_LIMIT"))
        return;
    ::setenv("OMP_THREAD_LIMIT", "1", 1);
    ::execv("/proc/self/exe", argv);
    // If exec fails we keep going with the variable set for any child.
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("Glintext %s\n", BuildConfig::version);
            return 0;
        }
    }
    ensureSingleThreadedOpenMP(argv);
    if (argc > 1 && std::strcmp(argv[1], "recognize") == 0)
        return RecognizeCommand::run(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName("Glintext");
    QApplication::setApplicationVersion(BuildConfig::version);
    QApplication::setQuitOnLastWindowClosed(false);
    return app.exec();
}
