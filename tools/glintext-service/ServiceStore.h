#pragma once

#include "DatabaseLocation.h"
#include "SchemaMigrations.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <optional>
#include <variant>

class QSqlQuery;

// Every piece of the service's data, behind one class that holds all of its SQL. The
// service keeps nothing between requests in memory, so several processes can share one
// PostgreSQL database; the operations that must stay right when they race (quota, sync
// versions, one-time codes) are single conditional statements or one transaction.
// Every operation throws StorageError when the database fails.
class ServiceStore {
public:
    struct Account {
        qint64 id = 0;
        QString email;
        QString tier;
    };
    enum class CodeProblem { Unknown, Used, Expired, VerifierMismatch };
    struct SyncDocument {
        qint64 version = 0;
        QByteArray blob;
    };
    struct ReceivedRequest {
        qint64 id = 0;
        QString method;
        QString path;
        QString query;
        QString contentType;
        QString auth; // "none", "valid" or "invalid": the token itself is never kept
        QString accountEmail;
        QByteArray body;
        std::optional<int> status; // absent until the answer has gone out
    };
    struct CannedAnswer {
        std::optional<int> status; // absent: only a delay before the real handler
        QByteArray contentType;
        QByteArray body;
        int delayMs = 0;
    };

    explicit ServiceStore(DatabaseLocation location);
    ~ServiceStore();
    ServiceStore(const ServiceStore&) = delete;
    ServiceStore& operator=(const ServiceStore&) = delete;

    // Opens the database and brings its schema up to date.
    void open();

    // Sign-in: a one-time code, then its exchange for a token in one transaction.
    void addSignInCode(const QString& codeHash, const QString& challenge, const QString& email,
                       qint64 expiresAt);
    std::variant<Account, CodeProblem> redeemSignInCode(const QString& codeHash,
                                                        const QString& challenge,
                                                        const QString& tokenHash,
                                                        const QString& deviceId, qint64 now);
    // An account (created with `tier` when new) with a fresh token, for the test controls.
    Account addAccountWithToken(const QString& email, const QString& tier, const QString& tokenHash,
                                const QString& deviceId, qint64 now);
    std::optional<Account> accountForToken(const QString& tokenHash);
    void revokeToken(const QString& tokenHash, qint64 now);

    // One unit of the daily quota; false when `limit` units of `day` are used.
    bool takeQuota(qint64 accountId, const QString& day, int limit);
    void returnQuota(qint64 accountId, const QString& day);

    std::optional<SyncDocument> syncDocument(qint64 accountId);
    // The new version, or nothing when `baseVersion` is not the stored one (0: none stored).
    std::optional<qint64> replaceSyncDocument(qint64 accountId, qint64 baseVersion,
                                              const QByteArray& blob, const QString& deviceId,
                                              qint64 now);

    void addReport(const QString& kind, std::optional<qint64> accountId, const QByteArray& body,
                   qint64 now);
    QList<QByteArray> reports(const QString& kind);

    // Test controls.
    qint64 addReceived(const ReceivedRequest& request, qint64 now);
    void setReceivedStatus(qint64 id, int status);
    QList<ReceivedRequest> received(const QString& path); // all paths when empty
    void clearReceived();
    void queueCannedAnswer(const QString& path, const CannedAnswer& answer);
    std::optional<CannedAnswer> takeCannedAnswer(const QString& path);
    void clearCannedAnswers();
    std::optional<QString> meta(const QString& key);
    void setMeta(const QString& key, const QString& value);

private:
    QSqlQuery run(const QString& sql, const QVariantList& values = {});
    Account ensureAccount(const QString& email, const QString& tier, qint64 now);
    CodeProblem codeProblem(const QString& codeHash, qint64 now);
    void begin();
    void commit();
    void rollback();
    [[noreturn]] void fail(const QString& what, const QSqlQuery& query);

    DatabaseLocation location_;
    QString connectionName_;
    QSqlDatabase db_;
};
