// A stand-in process that runs only the tray item on a real X server, for the tray
// end-to-end test and the README pictures. It reports what the item asks for on stdout.
#include "base/AppPaths.h"
#include "core/AppSettings.h"
#include "core/Defaults.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "platform/Platform.h"
#include "platform/PlatformLoader.h"
#include "support/DefaultsLanguageStore.h"
#include "support/L10n.h"
#include "ui/HUDToast.h"
#include "ui/StatusItemController.h"
#include "ui/TrayIcon.h"

#include "support/fakes/FakeLoginItem.h"
#include "support/fakes/FakeScreenPermission.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QMenu>
#include <QTimer>

#include <cstdio>
#include <memory>

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

    if (options.isSet("write-svg")) {
        QFile file(options.value("write-svg"));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(TrayIcon::svgDocument());
        return 0;
    }

    // The tray item's own world, on the real desktop; the permission is the test's to set.
    const std::unique_ptr<Platform> platform = PlatformLoader::load();
    Defaults defaults(AppPaths::configDir() + "/defaults.json");
    FakeLoginItem login;
    AppSettings settings(defaults, login);
    OCRHistoryStore history(settings, AppPaths::dataFile(OCRHistoryStore::fileName));
    FakeScreenPermission permission;
    permission.granted = !options.isSet("permission-missing");
    Permissions permissions(permission, defaults);
    DefaultsLanguageStore languageStore(defaults);
    L10n l10n(languageStore); // English unless told otherwise, whatever the desktop speaks
    if (options.isSet("language"))
        l10n.apply(options.value("language"));
    HUDToast toast(platform->desktop());

    if (options.isSet("history")) {
        QList<OCRHistoryStore::Capture> items;
        for (const char* text : {"Invoice 2024-118: total due 1,280.00 EUR by 31 January",
                                 "git rebase --onto main feature~3 feature",
                                 "Meeting notes\nAgenda: release dates, tray icon review"})
            items.append({QUuid::createUuid(), QDateTime::currentDateTimeUtc(), text});
        history.setItems(items);
    }

    StatusItemController controller(permissions, history, l10n, platform->clipboard(), toast,
                                    platform->desktop(), false);
    QObject::connect(&controller, &StatusItemController::captureRequested, [](bool hq) {
        report(QStringLiteral("capture highAccuracy=%1 buttons=%2")
                   .arg(hq ? "true" : "false")
                   .arg(int(QGuiApplication::mouseButtons())));
    });
    QObject::connect(&controller, &StatusItemController::quitRequested, [] {
        report("quit");
        QCoreApplication::quit();
    });
    QObject::connect(controller.menu(), &QMenu::aboutToShow, [] { report("menu shown"); });
    QObject::connect(controller.menu(), &QMenu::aboutToHide, [] { report("menu hidden"); });

    QTimer::singleShot(0, [&] {
        report(QStringLiteral("tray available=%1 badged=%2")
                   .arg(QSystemTrayIcon::isSystemTrayAvailable() ? 1 : 0)
                   .arg(controller.isBadged() ? 1 : 0));
    });
    return app.exec();
}
