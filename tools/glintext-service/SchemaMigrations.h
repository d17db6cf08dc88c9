#pragma once

#include <QSqlDatabase>

// The service's schema as numbered steps, the same for SQLite and PostgreSQL apart from
// the spelling of identity and binary columns. `migrate` applies the missing steps in one
// transaction under a lock, so several processes may start on one database at once.
class SchemaMigrations {
public:
    enum class Dialect { Sqlite, Postgres };

    // The newest schema version this program knows.
    static int latestVersion();
    // Brings the database to latestVersion(); throws StorageError, and refuses a database
    // that a newer program has already moved past this one.
    static void migrate(QSqlDatabase& db, Dialect dialect);

private:
    static int currentVersion(QSqlDatabase& db);
    static void applyStep(QSqlDatabase& db, Dialect dialect, int version);
};
