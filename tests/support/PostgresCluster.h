#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A throw-away PostgreSQL server for tests: initdb into a temporary folder and a postgres
// process listening only on a Unix socket there. Run as the "postgres" user when the tests
// run as root (PostgreSQL refuses root), as the current user otherwise. The server dies
// with the test process, even when that crashes.
class PostgresCluster {
public:
    PostgresCluster() = default;
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // The cluster of this test process, started on first use.
    static PostgresCluster& shared();

    bool start(QString* error);
    void stop();
    bool isRunning() const;
    // A new, empty database, as the service's --db address.
    QString createDatabase(QString* error);
    // The server's PostgreSQL binaries: $GLINTEXT_PG_BINDIR or the newest installed.
    static QString binDir();

private:
    bool run(const QString& program, const QStringList& arguments, QString* output);
    void configure(QProcess& process) const;
    bool waitUntilReady(QString* error);

    std::unique_ptr<QTemporaryDir> dir_;
    QProcess server_;
    int nextDatabase_ = 0;
    bool started_ = false;
    QString startError_;
};
