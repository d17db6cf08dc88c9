#include "BuildConfig.h"
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/RecognizeCommand.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "core/Defaults.h"
#include "platform/Platform.h"
#include "platform/PlatformLoader.h"
#include "platform/Recognition.h"
#include "support/DefaultsLanguageStore.h"
#include "support/FrameworkLanguage.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

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

// Without a display the toolkit would abort deep inside its platform plugin; say why instead.
bool displayReachable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int runTrayApp(const AppCommand& command, int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glintext"));
    QApplication::setApplicationVersion(QString::fromLatin1(BuildConfig::version));
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QStringLiteral("glintext"));

    SingleInstance instance;
    switch (instance.start(command)) {
    case SingleInstance::Role::Forwarded:
        if (command.kind == AppCommand::Kind::Launch)
            write(stderr, QStringLiteral("Glintext is already running in the tray.\n"));
        return 0;
    case SingleInstance::Role::Failed:
        write(stderr, QStringLiteral("glintext: the running instance did not answer\n"));
        return 1;
    case SingleInstance::Role::Primary:
        break;
    }

    // The chosen interface language reaches the toolkit from the first moment; the string
    // lookup keeps the two keys in step afterwards. Only the instance writes the defaults.
    Defaults defaults(Defaults::standardPath());
    DefaultsLanguageStore languageStore(defaults);
    languageStore.setToolkitLanguage(languageStore.languageCode());
    FrameworkLanguage::ensureInstalled();

    const std::unique_ptr<Platform> platform = PlatformLoader::load();
    const std::unique_ptr<Recognition> recognition = PlatformLoader::loadRecognition();
    AppDelegate delegate(*platform, *recognition, defaults);
    TerminationSignals termination({SIGTERM, SIGINT, SIGHUP});
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);
    QObject::connect(&instance, &SingleInstance::commandReceived, &delegate,
                     &AppDelegate::handleCommand);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     &AppDelegate::applicationWillTerminate);
    delegate.applicationDidFinishLaunching();
    if (command.kind != AppCommand::Kind::Launch)
        QTimer::singleShot(0, &delegate, [&delegate, command] { delegate.handleCommand(command); });
    const int status = app.exec();

    // What the user would miss is on disk now: the history's final save ran at aboutToQuit,
    // the defaults and the log are written as they change. Tearing the rest down would only
    // wait, for a recognition or an engine warm-up still running on the thread pool and for
    // the warm engines to be freed, and would free those engines under a running
    // recognition. So the process ends here.
    instance.close();
    std::fflush(nullptr);
    ::_exit(status);
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine::Invocation invocation = CommandLine::parse(arguments);
    switch (invocation.kind) {
    case CommandLine::Invocation::Kind::Print:
        write(stdout, invocation.text);
        return 0;
    case CommandLine::Invocation::Kind::Fail:
        write(stderr, invocation.text);
        return 2;
    case CommandLine::Invocation::Kind::Recognize:
        ensureSingleThreadedOpenMP(argv);
        return RecognizeCommand::run(invocation.recognize, argc, argv);
    case CommandLine::Invocation::Kind::App:
        break;
    }
    ensureSingleThreadedOpenMP(argv);
    if (!displayReachable()) {
        write(stderr, QStringLiteral("glintext: no display to show the tray item on (DISPLAY "
                                     "and WAYLAND_DISPLAY are unset)\n"));
        return 1;
    }
    return runTrayApp(invocation.command, argc, argv);
}
