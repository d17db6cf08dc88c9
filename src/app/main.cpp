#include "BuildConfig.h"
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/ExitGuard.h"
#include "app/RecognizeCommand.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "base/AppPaths.h"
#include "core/CloudConfig.h"
#include "core/Defaults.h"
#include "platform/CrashCatcher.h"
#include "platform/Platform.h"
#include "platform/PlatformLoader.h"
#include "platform/ProcessLog.h"
#include "platform/Recognition.h"
#include "platform/SecretStore.h"
#include "support/DefaultsLanguageStore.h"
#include "support/FrameworkLanguage.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// Chosen before the application object exists, which reads it once.
void chooseToolkitPlatform() {
    const QString platform = PlatformLoader::toolkitPlatformFor(
        qEnvironmentVariable(PlatformLoader::overrideVariable),
        qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("XDG_SESSION_TYPE"),
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toUtf8());
}

// Without a display the toolkit would abort deep inside its platform plugin; say why instead.
bool displayReachable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The bytes each file name was given as. A name that is not valid in the locale's encoding
// does not survive the way through QString, and must still open its file.
QList<QByteArray> nativeNames(const QStringList& files, int argc, char** argv) {
    QList<QByteArray> names;
    int next = 1;
    for (const QString& file : files) {
        int i = next;
        while (i < argc && QString::fromLocal8Bit(argv[i]) != file)
            ++i;
        if (i == argc)
            return {};
        names.append(QByteArray(argv[i]));
        next = i + 1;
    }
    return names;
}

// Test-only: GLINTEXT_TEST_CRASH=segv makes the running application fault as a bug would, so
// that tests see the crash record and its report on the next start.
void crashForTestsIfAsked(QObject* context) {
    if (qEnvironmentVariable("GLINTEXT_TEST_CRASH") != QLatin1String("segv"))
        return;
    QTimer::singleShot(0, context, [] {
        volatile std::uintptr_t address = 0; // unknown to the compiler: a real load, not a trap
        std::fprintf(stderr, "glintext: crashing as asked (%d)\n",
                     *reinterpret_cast<volatile int*>(address));
    });
}

int runTrayApp(const AppCommand& command, int argc, char** argv) {
    // The records of a crash go to the data folder; installed before anything can crash.
    const std::unique_ptr<CrashCatcher> catcher =
        PlatformLoader::loadCrashCatcher(AppPaths::dataDir());
    catcher->install();
    CrashCatcher& crashes = *catcher;
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
    case SingleInstance::Role::Unsafe:
        write(stderr, QStringLiteral("glintext: %1\n").arg(instance.problem()));
        return 1;
    case SingleInstance::Role::Primary:
        break;
    }
    // From here on a logout or `kill` quits the ordinary way; a signal that comes while the
    // services are being built waits in the pipe until the event loop runs. (Before, while
    // a later process waits for the instance, Ctrl+C simply ends it.)
    TerminationSignals termination({SIGTERM, SIGINT, SIGHUP});
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);

    // The chosen interface language reaches the toolkit from the first moment; the string
    // lookup keeps the two keys in step afterwards. Only the instance writes the defaults.
    Defaults defaults(Defaults::standardPath());
    DefaultsLanguageStore languageStore(defaults);
    languageStore.setToolkitLanguage(languageStore.languageCode());
    FrameworkLanguage::ensureInstalled();

    const std::unique_ptr<SecretStore> secrets = PlatformLoader::loadSecretStore();
    const std::unique_ptr<Platform> platform = PlatformLoader::load();
    const std::unique_ptr<Recognition> recognition = PlatformLoader::loadRecognition();
    const std::unique_ptr<ProcessLog> processLog = PlatformLoader::loadProcessLog();
    AppDelegate delegate(*platform, *recognition, *secrets, defaults, crashes, *processLog);
    QObject::connect(&instance, &SingleInstance::commandReceived, &delegate,
                     &AppDelegate::handleCommand);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.applicationWillTerminate(); });
    // A lost display ends the process without aboutToQuit: save on the way out all the same.
    const ExitGuard displayLoss([&delegate, &instance] {
        delegate.applicationWillTerminate(false); // no event loop to send with any more
        instance.close();
    });
    delegate.applicationDidFinishLaunching();
    crashForTestsIfAsked(&delegate);
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
    case CommandLine::Invocation::Kind::Recognize: {
        RecognizeCommand::Request request = invocation.recognize;
        request.nativeFiles = nativeNames(request.files, argc, argv);
        RecognizeCommand::run(request, argc, argv);
    }
    case CommandLine::Invocation::Kind::App:
        break;
    }
    // A service address that would send the token in the clear, or nowhere, stops the start
    // here rather than at the first sign-in.
    if (const QString problem = CloudConfig::check(); !problem.isEmpty()) {
        write(stderr, QStringLiteral("glintext: %1\n").arg(problem));
        return 2;
    }
    chooseToolkitPlatform();
    if (!displayReachable()) {
        write(stderr, QStringLiteral("glintext: no display to show the tray item on (DISPLAY "
                                     "and WAYLAND_DISPLAY are unset)\n"));
        return 1;
    }
    return runTrayApp(invocation.command, argc, argv);
}
