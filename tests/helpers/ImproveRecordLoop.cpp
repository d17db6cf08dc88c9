// Records statistics events as fast as it can, through the real reporter, until it is
// killed. The reporter's test kills it with SIGKILL and then flushes what it left.
#include "base/SystemClock.h"
#include "core/AppSettings.h"
#include "core/CloudClient.h"
#include "core/Defaults.h"
#include "core/ImproveReporter.h"

#include "support/fakes/FakeLoginItem.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s QUEUE_FILE DEFAULTS_FILE\n", argv[0]);
        return 2;
    }
    Defaults defaults(QString::fromLocal8Bit(argv[2]));
    FakeLoginItem login;
    AppSettings settings(defaults, login);
    QNetworkAccessManager network;
    CloudClient client(network, QUrl("http://127.0.0.1:9")); // never reached: no start()
    SystemClock clock;
    ImproveReporter reporter(settings, defaults, client, clock, QString::fromLocal8Bit(argv[1]));
    const QString text = QStringLiteral("a fairly long property value, 日本語 😀 ").repeated(6);
    for (quint64 round = 0;; ++round) {
        reporter.record(QStringLiteral("loop"), {{"round", qint64(round)}, {"text", text}});
        if (round % 50 == 49) {
            reporter.waitForQueue();
            if (round == 49) {
                std::printf("ready\n");
                std::fflush(stdout);
            }
        }
    }
}
