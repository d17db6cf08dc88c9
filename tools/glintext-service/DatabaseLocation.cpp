#include "DatabaseLocation.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace {

std::optional<DatabaseLocation> parsePostgres(const QString& spec, QString* error) {
    const QUrl url(spec, QUrl::StrictMode);
    if (!url.isValid()) {
        *error = "not a valid PostgreSQL address: " + url.errorString();
        return std::nullopt;
    }
    DatabaseLocation location;
    location.kind = DatabaseLocation::Kind::Postgres;
    location.host = url.host(QUrl::FullyDecoded);
    location.port = url.port(-1);
    location.user = url.userName(QUrl::FullyDecoded);
    location.password = url.password(QUrl::FullyDecoded);
    location.database = url.path(QUrl::FullyDecoded).mid(1);
    QStringList options;
    const QUrlQuery query(url);
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        // Like libpq: host and port may come as parameters (a socket folder has no URL form).
        if (key == "host")
            location.host = value;
        else if (key == "port")
            location.port = value.toInt();
        else if (key == "user")
            location.user = value;
        else if (key == "password")
            location.password = value;
        else
            options << key + "=" + value;
    }
    location.connectOptions = options.join(';');
    if (location.database.isEmpty() || location.database.contains('/')) {
        *error = "the PostgreSQL address names no database: postgresql://user@host/database";
        return std::nullopt;
    }
    return location;
}

} // namespace

std::optional<DatabaseLocation> DatabaseLocation::parse(const QString& spec, QString* error) {
    if (spec.startsWith("postgresql://") || spec.startsWith("postgres://"))
        return parsePostgres(spec, error);
    if (spec.contains("://")) {
        *error = "unknown database address (use a file path or postgresql://...): " + spec;
        return std::nullopt;
    }
    if (spec.isEmpty()) {
        *error = "the database path is empty";
        return std::nullopt;
    }
    DatabaseLocation location;
    location.sqlitePath = QDir::cleanPath(QDir::current().absoluteFilePath(spec));
    return location;
}

QString DatabaseLocation::defaultSqlitePath() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base + "/glintext-service/service.sqlite";
}

QString DatabaseLocation::describe() const {
    if (kind == Kind::Sqlite)
        return "sqlite " + sqlitePath;
    QString where = host.isEmpty() ? QStringLiteral("default host") : host;
    if (port > 0)
        where += ":" + QString::number(port);
    return "postgresql " + (user.isEmpty() ? QString() : user + "@") + where + "/" + database;
}
