#include "ServiceApp.h"
#include "ServiceOptions.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace {

// Debian's Tesseract uses OpenMP, which reads OMP_THREAD_LIMIT once when it loads; an
// unlimited pool makes recognition several times slower on few cores and fights the
// service's own threads. Setting it in main() is too late, so the process re-executes.
void ensureSingleThreadedOpenMP(char** argv) {
    if (qEnvironmentVariableIsSet("OMP_THREAD_LIMIT"))
        return;
    ::setenv("OMP_THREAD_LIMIT", "1", 1);
    // The binary's own path, not /proc/self/exe, so that ps shows the program's name.
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return;
    path[length] = '\0';
    ::execv(path, argv);
}

} // namespace

int main(int argc, char** argv) {
    ensureSingleThreadedOpenMP(argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("glintext-service");
    qSetMessagePattern("%{time yyyy-MM-ddThh:mm:ss.zzz} %{if-warning}warning: %{endif}"
                       "%{if-critical}error: %{endif}%{message}");
    QString error;
    bool help = false;
    std::optional<ServiceOptions> options =
        ServiceOptions::parse(QCoreApplication::arguments(), &error, &help);
    if (help) {
        std::fputs(qPrintable(ServiceOptions::usage()), stdout);
        return 0;
    }
    if (!options) {
        std::fprintf(stderr, "glintext-service: %s\n", qPrintable(error));
        return 2;
    }
    if (options->callbackScheme.isEmpty())
        options->callbackScheme = GLINTEXT_URL_SCHEME_DEFAULT;
    ServiceApp service(*options);
    if (!service.start())
        return 1;
    return app.exec();
}
