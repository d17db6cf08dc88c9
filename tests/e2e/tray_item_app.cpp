// A stand-in process that runs only the tray item on a real X server, for the tray
// end-to-end test and the README pictures. It reports what the item asks for on stdout.
#include "core/OCRHistoryStore.h"
#include "support/L10n.h"
#include "ui/MenuBarIcon.h"
#include "ui/StatusItemController.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QMenu>
#include <QTimer>

#include <cstdio>

namespace {

void report(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Glintext");
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser options;
    options.addOption({"permission-missing", "Start without the screen-capture permission."});
    options.addOption({"history", "Seed the history with a few captures."});
    options.addOption({"write-svg", "Write the desktop icon to FILE and exit.", "file"});
    options.addOption({"language", "Show the menu in the interface language CODE.", "code"});
    options.process(app);
    if (options.isSet("language"))
        L10n::shared().apply(options.value("language"));

    if (options.isSet("write-svg")) {
        QFile file(options.value("write-svg"));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(MenuBarIcon::svgDocument());
        return 0;
    }

    if (options.isSet("history")) {
        QList<OCRHistoryStore::Capture> items;
        for (const char* text : {"Invoice 2024-118: total due 1,280.00 EUR by 31 January",
                                 "git rebase --onto main feature~3 feature",
                                 "Meeting notes\nAgenda: release dates, tray icon review"})
            items.append({QUuid::createUuid(), QDateTime::currentDateTimeUtc(), text});
        OCRHistoryStore::shared().setItems(items);
    }

    const bool missing = options.isSet("permission-missing");
    StatusItemController::Services services;
    services.permissionGranted = [=] { return !missing; };
    services.beginCapture = [](bool hq) {
        report(QStringLiteral("capture highAccuracy=%1 buttons=%2")
                   .arg(hq ? "true" : "false")
                   .arg(int(QGuiApplication::mouseButtons())));
    };
    services.quit = [] {
        report("quit");
        QCoreApplication::quit();
    };
    StatusItemController controller(services, StatusItemController::Timing{});
    QObject::connect(controller.menu(), &QMenu::aboutToShow, [] { report("menu shown"); });
    QObject::connect(controller.menu(), &QMenu::aboutToHide, [] { report("menu hidden"); });

    QTimer::singleShot(0, [&] {
        report(QStringLiteral("tray available=%1 badged=%2")
                   .arg(QSystemTrayIcon::isSystemTrayAvailable() ? 1 : 0)
                   .arg(controller.isBadged() ? 1 : 0));
    });
    return app.exec();
}
