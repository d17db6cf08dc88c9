#include "support/PostgresCluster.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <csignal>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int socketPort = 5432; // only names the socket file in the private folder
const QString superuser = QStringLiteral("glx");

// The uid and gid to run the server as: "postgres" under root, nobody else otherwise.
std::optional<std::pair<uid_t, gid_t>> serverAccount() {
    if (::geteuid() != 0)
        return std::nullopt;
    if (const passwd* account = ::getpwnam("postgres"))
        return std::make_pair(account->pw_uid, account->pw_gid);
    return std::nullopt;
}

} // namespace

PostgresCluster::~PostgresCluster() {
    stop();
}

PostgresCluster& PostgresCluster::shared() {
    static PostgresCluster cluster;
    if (!cluster.started_ && cluster.startError_.isEmpty()) {
        cluster.start(&cluster.startError_);
        // Stopped while Qt still runs, not among the static destructors.
        qAddPostRoutine([] { cluster.stop(); });
    }
    return cluster;
}

QString PostgresCluster::binDir() {
    const QString forced = qEnvironmentVariable("GLINTEXT_PG_BINDIR");
    if (!forced.isEmpty())
        return forced;
    QDir root("/usr/lib/postgresql");
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& version : versions) {
        const QString bin = root.filePath(version + "/bin");
        if (QFile::exists(bin + "/initdb") && QFile::exists(bin + "/postgres"))
            return bin;
    }
    return {};
}

void PostgresCluster::configure(QProcess& process) const {
    const auto account = serverAccount();
    process.setChildProcessModifier([account] {
        if (account && (::setgid(account->second) != 0 || ::setuid(account->first) != 0))
            ::_exit(126);
        // After the user change, which would clear it: the server ends with the tests.
        ::prctl(PR_SET_PDEATHSIG, SIGQUIT);
    });
    process.setProcessChannelMode(QProcess::MergedChannels);
}

bool PostgresCluster::run(const QString& program, const QStringList& arguments, QString* output) {
    QProcess process;
    configure(process);
    process.start(program, arguments);
    const bool ok = process.waitForFinished(120000) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    *output = QString::fromLocal8Bit(process.readAll());
    return ok;
}

bool PostgresCluster::start(QString* error) {
    const QString bin = binDir();
    if (bin.isEmpty()) {
        *error = "no PostgreSQL server installed (Debian: postgresql)";
        return false;
    }
    dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/glintext-pg-XXXXXX");
    if (const auto account = serverAccount())
        (void)::chown(QFile::encodeName(dir_->path()).constData(), account->first, account->second);
    QString output;
    if (!run(bin + "/initdb",
             {"-D", dir_->filePath("data"), "-A", "trust", "-U", superuser, "-E", "UTF8",
              "--locale=C", "--no-sync"},
             &output)) {
        *error = "initdb failed: " + output;
        return false;
    }
    configure(server_);
    // Durability is not what these tests measure.
    server_.start(bin + "/postgres", {"-D", dir_->filePath("data"), "-k", dir_->path(), "-p",
                                      QString::number(socketPort), "-c", "listen_addresses=", "-c",
                                      "fsync=off", "-c", "synchronous_commit=off", "-c",
                                      "full_page_writes=off", "-c", "max_connections=200"});
    if (!server_.waitForStarted(30000)) {
        *error = "postgres did not start: " + server_.errorString();
        return false;
    }
    if (!waitUntilReady(error))
        return false;
    started_ = true;
    return true;
}

bool PostgresCluster::waitUntilReady(QString* error) {
    QElapsedTimer timer;
    timer.start();
    const QString ready = binDir() + "/pg_isready";
    QString output;
    while (timer.elapsed() < 30000) {
        if (server_.state() == QProcess::NotRunning) {
            *error = "postgres stopped: " + QString::fromLocal8Bit(server_.readAll());
            return false;
        }
        if (run(ready, {"-h", dir_->path(), "-p", QString::number(socketPort)}, &output))
            return true;
        QThread::msleep(50);
    }
    *error = "postgres did not become ready: " + QString::fromLocal8Bit(server_.readAll());
    return false;
}

bool PostgresCluster::isRunning() const {
    return started_ && server_.state() == QProcess::Running;
}

QString PostgresCluster::createDatabase(QString* error) {
    if (!isRunning()) {
        *error = startError_.isEmpty() ? QStringLiteral("the PostgreSQL cluster is not running")
                                       : startError_;
        return {};
    }
    const QString name = QString("glintext_test_%1").arg(++nextDatabase_);
    QString output;
    if (!run(binDir() + "/psql",
             {"-h", dir_->path(), "-p", QString::number(socketPort), "-U", superuser, "-d",
              "postgres", "-v", "ON_ERROR_STOP=1", "-c", "CREATE DATABASE " + name},
             &output)) {
        *error = "CREATE DATABASE failed: " + output;
        return {};
    }
    return QString("postgresql:///%1?host=%2&port=%3&user=%4")
        .arg(name, dir_->path())
        .arg(socketPort)
        .arg(superuser);
}

void PostgresCluster::stop() {
    if (server_.state() != QProcess::NotRunning) {
        // SIGINT is PostgreSQL's fast shutdown.
        ::kill(pid_t(server_.processId()), SIGINT);
        if (!server_.waitForFinished(10000)) {
            server_.kill();
            server_.waitForFinished(5000);
        }
    }
    started_ = false;
    dir_.reset();
}
