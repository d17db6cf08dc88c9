#include "ServiceStore.h"

#include "StorageError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

std::optional<int> optionalInt(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toInt();
}

// Qt binds a null QString as SQL NULL; an empty text column wants ''.
QString text(const QString& value) {
    return value.isNull() ? QStringLiteral("") : value;
}

QVariant nullableInt(std::optional<int> value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

} // namespace

ServiceStore::ServiceStore(DatabaseLocation location)
    : location_(std::move(location)),
      connectionName_("service-store-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

ServiceStore::~ServiceStore() {
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
    }
}

void ServiceStore::open() {
    const bool pg = location_.kind == DatabaseLocation::Kind::Postgres;
    if (!db_.isValid()) {
        db_ = QSqlDatabase::addDatabase(pg ? "QPSQL" : "QSQLITE", connectionName_);
        if (!db_.isValid())
            throw StorageError(
                QString("the Qt SQL driver %1 is not installed%2")
                    .arg(pg ? "QPSQL" : "QSQLITE", pg ? " (Debian: libqt6sql6-psql)" : ""));
    }
    if (pg) {
        db_.setHostName(location_.host);
        if (location_.port > 0)
            db_.setPort(location_.port);
        db_.setUserName(location_.user);
        db_.setPassword(location_.password);
        db_.setDatabaseName(location_.database);
        db_.setConnectOptions(location_.connectOptions);
    } else {
        // The file holds accounts and reports: a folder it creates is the user's alone.
        const QString folder = QFileInfo(location_.sqlitePath).absolutePath();
        const bool created = !QFileInfo::exists(folder);
        if (!QDir().mkpath(folder))
            throw StorageError("cannot create the folder " + folder);
        if (created)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        db_.setDatabaseName(location_.sqlitePath);
        // Other service processes may hold the write lock for a moment.
        db_.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10000");
    }
    if (!db_.open())
        throw StorageError("cannot open the database (" + location_.describe() +
                           "): " + db_.lastError().text());
    if (!pg) {
        run("PRAGMA journal_mode=WAL");
        run("PRAGMA foreign_keys=ON");
    }
    SchemaMigrations::migrate(db_, pg ? SchemaMigrations::Dialect::Postgres
                                      : SchemaMigrations::Dialect::Sqlite);
}

QSqlQuery ServiceStore::run(const QString& sql, const QVariantList& values) {
    QSqlQuery query(db_);
    if (!query.prepare(sql))
        fail("prepare", query);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        fail("exec", query);
    return query;
}

void ServiceStore::fail(const QString& what, const QSqlQuery& query) {
    const QSqlError error = query.lastError();
    // A lost connection is reopened for the next request; this one fails.
    if (error.type() == QSqlError::ConnectionError || !db_.isOpen()) {
        db_.close();
        db_.open();
    }
    throw StorageError("database " + what + " failed: " + error.text());
}

void ServiceStore::begin() {
    if (!db_.transaction())
        throw StorageError("cannot begin a transaction: " + db_.lastError().text());
}

void ServiceStore::commit() {
    if (!db_.commit())
        throw StorageError("cannot commit: " + db_.lastError().text());
}

void ServiceStore::rollback() {
    db_.rollback();
}

void ServiceStore::addSignInCode(const QString& codeHash, const QString& challenge,
                                 const QString& email, qint64 expiresAt) {
    run("INSERT INTO sign_in_codes (code_hash, challenge, email, expires_at) VALUES (?, ?, ?, ?)",
        {codeHash, challenge, email, expiresAt});
}

std::variant<ServiceStore::Account, ServiceStore::CodeProblem>
ServiceStore::redeemSignInCode(const QString& codeHash, const QString& challenge,
                               const QString& tokenHash, const QString& deviceId, qint64 now) {
    begin();
    try {
        // Marking the code used is the one statement two exchanges can race on.
        QString email;
        {
            QSqlQuery use = run("UPDATE sign_in_codes SET used_at = ? WHERE code_hash = ? AND "
                                "used_at IS NULL AND expires_at > ? AND challenge = ? "
                                "RETURNING email",
                                {now, codeHash, now, challenge});
            if (use.next())
                email = use.value(0).toString();
        }
        if (email.isEmpty()) {
            const CodeProblem problem = codeProblem(codeHash, now);
            rollback();
            return problem;
        }
        const Account account = ensureAccount(email, "free", now);
        run("INSERT INTO access_tokens (token_hash, account_id, device_id, created_at) "
            "VALUES (?, ?, ?, ?)",
            {tokenHash, account.id, deviceId, now});
        commit();
        return account;
    } catch (...) {
        rollback();
        throw;
    }
}

ServiceStore::CodeProblem ServiceStore::codeProblem(const QString& codeHash, qint64 now) {
    QSqlQuery query =
        run("SELECT used_at, expires_at FROM sign_in_codes WHERE code_hash = ?", {codeHash});
    if (!query.next())
        return CodeProblem::Unknown;
    if (!query.value(0).isNull())
        return CodeProblem::Used;
    if (query.value(1).toLongLong() <= now)
        return CodeProblem::Expired;
    return CodeProblem::VerifierMismatch;
}

ServiceStore::Account ServiceStore::ensureAccount(const QString& email, const QString& tier,
                                                  qint64 now) {
    run("INSERT INTO accounts (email, tier, created_at) VALUES (?, ?, ?) "
        "ON CONFLICT (email) DO NOTHING",
        {email, tier, now});
    QSqlQuery query = run("SELECT id, email, tier FROM accounts WHERE email = ?", {email});
    if (!query.next())
        throw StorageError("the account just written cannot be read back");
    return {query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString()};
}

ServiceStore::Account ServiceStore::addAccountWithToken(const QString& email, const QString& tier,
                                                        const QString& tokenHash,
                                                        const QString& deviceId, qint64 now) {
    begin();
    try {
        Account account = ensureAccount(email, tier, now);
        if (account.tier != tier) {
            run("UPDATE accounts SET tier = ? WHERE id = ?", {tier, account.id});
            account.tier = tier;
        }
        run("INSERT INTO access_tokens (token_hash, account_id, device_id, created_at) "
            "VALUES (?, ?, ?, ?)",
            {tokenHash, account.id, deviceId, now});
        commit();
        return account;
    } catch (...) {
        rollback();
        throw;
    }
}

std::optional<ServiceStore::Account> ServiceStore::accountForToken(const QString& tokenHash) {
    QSqlQuery query = run("SELECT a.id, a.email, a.tier FROM access_tokens t "
                          "JOIN accounts a ON a.id = t.account_id "
                          "WHERE t.token_hash = ? AND t.revoked_at IS NULL",
                          {tokenHash});
    if (!query.next())
        return std::nullopt;
    return Account{query.value(0).toLongLong(), query.value(1).toString(),
                   query.value(2).toString()};
}

void ServiceStore::revokeToken(const QString& tokenHash, qint64 now) {
    run("UPDATE access_tokens SET revoked_at = ? WHERE token_hash = ? AND revoked_at IS NULL",
        {now, tokenHash});
}

bool ServiceStore::takeQuota(qint64 accountId, const QString& day, int limit) {
    if (limit <= 0)
        return false;
    // One conditional upsert: concurrent requests of several processes cannot overshoot.
    QSqlQuery query = run("INSERT INTO quota_usage (account_id, day, used) VALUES (?, ?, 1) "
                          "ON CONFLICT (account_id, day) DO UPDATE "
                          "SET used = quota_usage.used + 1 WHERE quota_usage.used < ? "
                          "RETURNING used",
                          {accountId, day, limit});
    return query.next();
}

void ServiceStore::returnQuota(qint64 accountId, const QString& day) {
    run("UPDATE quota_usage SET used = used - 1 WHERE account_id = ? AND day = ? AND used > 0",
        {accountId, day});
}

std::optional<ServiceStore::SyncDocument> ServiceStore::syncDocument(qint64 accountId) {
    QSqlQuery query =
        run("SELECT version, blob FROM sync_documents WHERE account_id = ?", {accountId});
    if (!query.next())
        return std::nullopt;
    return SyncDocument{query.value(0).toLongLong(), query.value(1).toByteArray()};
}

std::optional<qint64> ServiceStore::replaceSyncDocument(qint64 accountId, qint64 baseVersion,
                                                        const QByteArray& blob,
                                                        const QString& deviceId, qint64 now) {
    // Both forms are one conditional statement, so of many uploads on the same base version
    // exactly one succeeds, whichever process serves it.
    QSqlQuery query =
        baseVersion == 0
            ? run("INSERT INTO sync_documents (account_id, version, blob, device_id, updated_at) "
                  "VALUES (?, 1, ?, ?, ?) ON CONFLICT (account_id) DO NOTHING RETURNING version",
                  {accountId, blob, deviceId, now})
            : run("UPDATE sync_documents SET version = version + 1, blob = ?, device_id = ?, "
                  "updated_at = ? WHERE account_id = ? AND version = ? RETURNING version",
                  {blob, deviceId, now, accountId, baseVersion});
    if (!query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

void ServiceStore::addReport(const QString& kind, std::optional<qint64> accountId,
                             const QByteArray& body, qint64 now) {
    run("INSERT INTO reports (kind, account_id, body, received_at) VALUES (?, ?, ?, ?)",
        {kind, accountId ? QVariant(*accountId) : QVariant(QMetaType::fromType<qint64>()), body,
         now});
}

QList<QByteArray> ServiceStore::reports(const QString& kind) {
    QSqlQuery query = run("SELECT body FROM reports WHERE kind = ? ORDER BY id", {kind});
    QList<QByteArray> bodies;
    while (query.next())
        bodies << query.value(0).toByteArray();
    return bodies;
}

qint64 ServiceStore::addReceived(const ReceivedRequest& r, qint64 now) {
    QSqlQuery query =
        run("INSERT INTO received_requests (method, path, query, content_type, "
            "auth, account_email, body, received_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?) RETURNING id",
            {text(r.method), text(r.path), text(r.query), text(r.contentType), text(r.auth),
             r.accountEmail.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                      : QVariant(r.accountEmail),
             r.body.isNull() ? QByteArray("") : r.body, now});
    if (!query.next())
        throw StorageError("the received request was not recorded");
    return query.value(0).toLongLong();
}

void ServiceStore::setReceivedStatus(qint64 id, int status) {
    run("UPDATE received_requests SET status = ? WHERE id = ?", {status, id});
}

QList<ServiceStore::ReceivedRequest> ServiceStore::received(const QString& path) {
    const QString columns = "SELECT id, method, path, query, content_type, auth, account_email, "
                            "body, status FROM received_requests ";
    QSqlQuery query = path.isEmpty() ? run(columns + "ORDER BY id")
                                     : run(columns + "WHERE path = ? ORDER BY id", {path});
    QList<ReceivedRequest> list;
    while (query.next()) {
        list.append(
            {query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
             query.value(3).toString(), query.value(4).toString(), query.value(5).toString(),
             query.value(6).toString(), query.value(7).toByteArray(), optionalInt(query.value(8))});
    }
    return list;
}

void ServiceStore::clearReceived() {
    run("DELETE FROM received_requests");
}

void ServiceStore::queueCannedAnswer(const QString& path, const CannedAnswer& answer) {
    run("INSERT INTO canned_answers (path, status, content_type, body, delay_ms) "
        "VALUES (?, ?, ?, ?, ?)",
        {path, nullableInt(answer.status), text(QString::fromUtf8(answer.contentType)),
         answer.body.isNull() ? QByteArray("") : answer.body, answer.delayMs});
}

std::optional<ServiceStore::CannedAnswer> ServiceStore::takeCannedAnswer(const QString& path) {
    // Another process may take the same row first; then the next one is tried.
    for (int attempt = 0; attempt < 8; ++attempt) {
        QSqlQuery next = run("SELECT id, status, content_type, body, delay_ms FROM "
                             "canned_answers WHERE path = ? ORDER BY id LIMIT 1",
                             {path});
        if (!next.next())
            return std::nullopt;
        const qint64 id = next.value(0).toLongLong();
        CannedAnswer answer{optionalInt(next.value(1)), next.value(2).toString().toUtf8(),
                            next.value(3).toByteArray(), next.value(4).toInt()};
        next.finish();
        if (run("DELETE FROM canned_answers WHERE id = ?", {id}).numRowsAffected() == 1)
            return answer;
    }
    return std::nullopt;
}

void ServiceStore::clearCannedAnswers() {
    run("DELETE FROM canned_answers");
}

std::optional<QString> ServiceStore::meta(const QString& key) {
    QSqlQuery query = run("SELECT value FROM service_meta WHERE key = ?", {key});
    if (!query.next())
        return std::nullopt;
    return query.value(0).toString();
}

void ServiceStore::setMeta(const QString& key, const QString& value) {
    run("INSERT INTO service_meta (key, value) VALUES (?, ?) "
        "ON CONFLICT (key) DO UPDATE SET value = excluded.value",
        {key, value});
}
