#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include "BuildConfig.h"
#include "app/AppCommand.h"
#include "app/AppDelegate.h"
#include "app/RecognizeCommand.h"
#include "app/SingleInstance.h"
#include "core/Defaults.h"
#include "support/FrameworkLanguage.h"

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

// The chosen interface language reaches every framework text from the first moment;
// the string lookup keeps the two keys in step afterwards.
void adoptStoredLanguage() {
    Defaults& defaults = Defaults::standard();
    if (const std::optional<QString> code = defaults.stringValue("languageCode"))
        defaults.setStringList("AppleLanguages", {*code});
    else if (defaults.contains("AppleLanguages"))
        defaults.remove("AppleLanguages");
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("Glintext %s\n", BuildConfig::version);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(AppCommand::usage().toLocal8Bit().constData(), stdout);
            return 0;
        }
    }
    ensureSingleThreadedOpenMP(argv);

    // Sub-commands that run on their own, without the tray app, are dispatched here.
    if (argc > 1 && std::strcmp(argv[1], "recognize") == 0)
        return RecognizeCommand::run(argc, argv);

    adoptStoredLanguage();

    QApplication app(argc, argv);
    QApplication::setApplicationName("Glintext");
    QApplication::setApplicationVersion(BuildConfig::version);
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QStringLiteral("glintext"));

    QString error;
    const std::optional<AppCommand> command =
        AppCommand::parse(QApplication::arguments().mid(1), &error);
    if (!command) {
        QTextStream(stderr) << "glintext: " << error << "\n" << AppCommand::usage();
        return 2;
    }

    SingleInstance instance;
    switch (instance.start(*command)) {
    case SingleInstance::Role::Forwarded:
        return 0;
    case SingleInstance::Role::Failed:
        QTextStream(stderr) << "glintext: the running instance did not answer\n";
        return 1;
    case SingleInstance::Role::Primary:
        break;
    }

    FrameworkLanguage::ensureInstalled();
    AppDelegate delegate;
    QObject::connect(&instance, &SingleInstance::commandReceived, &delegate,
                     &AppDelegate::handleCommand);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     &AppDelegate::applicationWillTerminate);
    delegate.applicationDidFinishLaunching();
    if (command->kind != AppCommand::Kind::Launch)
        QTimer::singleShot(0, &delegate,
                           [&delegate, command] { delegate.handleCommand(*command); });
    return app.exec();
}
