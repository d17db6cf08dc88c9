#include "support/PrivateKeyring.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <map>
#include <sys/prctl.h>

namespace {

constexpr int startTimeoutMs = 15000;
const QByteArray password = "test-keyring-password";
const QString secretsName = QStringLiteral("org.freedesktop.secrets");

// The helpers die with the test process, even when it crashes.
void tieToParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

QByteArray readLine(QProcess& process) {
    QElapsedTimer timer;
    timer.start();
    while (!process.canReadLine() && timer.elapsed() < startTimeoutMs) {
        if (!process.waitForReadyRead(200) && process.state() == QProcess::NotRunning)
            break;
    }
    return process.readLine().trimmed();
}

} // namespace

PrivateKeyring& PrivateKeyring::get(Kind kind) {
    static std::map<Kind, std::unique_ptr<PrivateKeyring>> keyrings;
    auto& keyring = keyrings[kind];
    if (!keyring) {
        keyring.reset(new PrivateKeyring(kind));
        if (keyrings.size() > 1)
            keyring->problem_ = QStringLiteral("one private keyring per test process; run this "
                                               "test on its own (ctest does)");
        else
            keyring->start();
    }
    return *keyring;
}

PrivateKeyring::PrivateKeyring(Kind kind) : kind_(kind) {}

PrivateKeyring::~PrivateKeyring() {
    stop(keyring_);
    stop(xserver_);
    stop(bus_);
}

bool PrivateKeyring::start() {
    for (const char* tool :
         {"dbus-daemon", "dbus-send", "gnome-keyring-daemon", "secret-tool", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            problem_ = QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
            return false;
        }
    }
    if (!dir_.isValid()) {
        problem_ = QStringLiteral("no temporary folder");
        return false;
    }
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (kind_ == Kind::LockedPrompt && !startDisplay())
        return false;
    if (!startBus(kind_ == Kind::LockedPrompt))
        return false;
    if (kind_ == Kind::NoService)
        return true;
    return startKeyring() && (kind_ != Kind::LockedPrompt || lockLogin());
}

// The prompter gnome-keyring asks for the password is started by the bus, with the bus's
// environment: a display there makes the prompt real, and it waits for a person.
bool PrivateKeyring::startDisplay() {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
        !QFile::exists(QStringLiteral("/usr/libexec/gcr-prompter"))) {
        problem_ = QStringLiteral("Xvfb or gcr-prompter is not installed");
        return false;
    }
    tieToParent(xserver_);
    xserver_.start(QStringLiteral("Xvfb"),
                   {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"});
    const QByteArray number = readLine(xserver_);
    if (number.isEmpty()) {
        problem_ = QStringLiteral("Xvfb did not start");
        return false;
    }
    display_ = QStringLiteral(":") + QString::fromLatin1(number);
    return true;
}

bool PrivateKeyring::startBus(bool activation) {
    const QString config = dir_.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QStringLiteral(
                   "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                   "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                   "<busconfig><type>session</type><listen>unix:path=%1</listen>"
                   "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" "
                   "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                   "%2</busconfig>\n")
                   .arg(dir_.filePath(QStringLiteral("bus")),
                        activation ? QStringLiteral("<standard_session_servicedirs/>") : QString())
                   .toUtf8());
    file.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!display_.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display_);
    bus_.setProcessEnvironment(env);
    tieToParent(bus_);
    bus_.start(QStringLiteral("dbus-daemon"),
               {"--config-file=" + config, "--nofork", "--print-address=1"});
    busAddress_ = QString::fromLatin1(readLine(bus_));
    if (busAddress_.isEmpty()) {
        problem_ = QStringLiteral("dbus-daemon did not start: ") +
                   QString::fromLocal8Bit(bus_.readAllStandardError());
        return false;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", busAddress_.toUtf8());
    return true;
}

bool PrivateKeyring::startKeyring() {
    keyring_.setProcessEnvironment(environment());
    tieToParent(keyring_);
    keyring_.start(QStringLiteral("gnome-keyring-daemon"),
                   {"--foreground", "--unlock", "--components=secrets"});
    // The password goes in through standard input, which must be written and closed now:
    // nothing runs the event loop while this waits.
    keyring_.waitForStarted(startTimeoutMs);
    keyring_.write(password);
    keyring_.waitForBytesWritten(startTimeoutMs);
    keyring_.closeWriteChannel();
    // The daemon may fork away from the process started here; the bus name is what says it
    // is ready, and it ends with the private bus.
    QElapsedTimer timer;
    timer.start();
    while (!hasOwner(secretsName)) {
        if (timer.elapsed() > startTimeoutMs) {
            problem_ = QStringLiteral("gnome-keyring-daemon did not start: ") +
                       QString::fromLocal8Bit(keyring_.readAllStandardError());
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

bool PrivateKeyring::lockLogin() {
    // The application's item in the locked keyring is what makes reading it prompt.
    if (!store(QStringLiteral("io.glintext.Glintext"), QStringLiteral("probe"), "probe") ||
        !run(QStringLiteral("dbus-send"),
             {"--session", "--print-reply", "--dest=" + secretsName, "/org/freedesktop/secrets",
              "org.freedesktop.Secret.Service.Lock",
              "array:objpath:/org/freedesktop/secrets/collection/login"})) {
        problem_ = QStringLiteral("could not lock the login keyring");
        return false;
    }
    return true;
}

QProcessEnvironment PrivateKeyring::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path());
    env.remove(QStringLiteral("DISPLAY"));
    return env;
}

bool PrivateKeyring::run(const QString& program, const QStringList& arguments, QByteArray* output,
                         const QByteArray& input) {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!input.isNull()) {
        process.write(input);
        process.closeWriteChannel();
    }
    if (!process.waitForFinished(startTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool PrivateKeyring::hasOwner(const QString& name) {
    QByteArray output;
    run(QStringLiteral("dbus-send"),
        {"--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
         "org.freedesktop.DBus.NameHasOwner", "string:" + name},
        &output);
    return output.contains("boolean true");
}

std::optional<QByteArray> PrivateKeyring::lookup(const QString& schema, const QString& account) {
    QByteArray output;
    if (!run(QStringLiteral("secret-tool"), {"lookup", "xdg:schema", schema, "account", account},
             &output))
        return std::nullopt;
    return output;
}

int PrivateKeyring::count(const QString& schema) {
    QByteArray output;
    run(QStringLiteral("secret-tool"), {"search", "--all", "xdg:schema", schema}, &output);
    return int((QByteArray("\n") + output).count("\n[/"));
}

bool PrivateKeyring::store(const QString& schema, const QString& account,
                           const QByteArray& secret) {
    return run(QStringLiteral("secret-tool"),
               {"store", "--label=test", "xdg:schema", schema, "account", account}, nullptr,
               secret);
}

bool PrivateKeyring::answerPrompt() {
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    // `type` takes every argument after it as text, so Return is a second call.
    for (const QStringList& arguments :
         {QStringList{"search", "--sync", "--onlyvisible", "--name", "^Unlock", "sleep", "0.5",
                      "windowfocus", "--sync", "type", "--delay", "10",
                      QString::fromLatin1(password)},
          QStringList{"key", "Return"}}) {
        QProcess xdotool;
        xdotool.setProcessEnvironment(env);
        xdotool.start(QStringLiteral("xdotool"), arguments);
        if (!xdotool.waitForFinished(startTimeoutMs) || xdotool.exitCode() != 0)
            return false;
    }
    return true;
}
