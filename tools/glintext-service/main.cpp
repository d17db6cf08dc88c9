#include "ServiceApp.h"
#include "ServiceOptions.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
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
