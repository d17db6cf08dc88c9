// Saves a 1000-entry history over and over until it is killed. The history test kills it
// with SIGKILL at random moments and checks that the file always decodes.
#include "base/AppPaths.h"
#include "core/AppSettings.h"
#include "core/Defaults.h"
#include "core/OCRHistoryStore.h"

#include "support/fakes/FakeLoginItem.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s HISTORY_FILE\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    // Beside the history would count as a leftover there.
    Defaults defaults(AppPaths::configDir() + "/save-loop-defaults.json");
    FakeLoginItem login;
    AppSettings settings(defaults, login);
    OCRHistoryStore store(settings, path);
    QList<OCRHistoryStore::Capture> items;
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    for (int i = 0; i < 1000; ++i) {
        items.append({QUuid::createUuid(), start.addSecs(-i),
                      QStringLiteral("entry %1 \"quoted\" a/b 日本語のテキスト 😀 ")
                          .arg(i)
                          .repeated(1 + i % 7)});
    }
    for (quint64 round = 0;; ++round) {
        // Vary the size so that a kill can land on a shorter or a longer write.
        items[int(round % 1000)].text += QStringLiteral("+");
        store.setItems(items);
        store.saveNow();
        if (round == 0) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
}
