#include "ServiceRouter.h"

#include "BearerAuth.h"
#include "ServiceClock.h"
#include "StorageError.h"

#include <QPromise>
#include <QTimer>

#include <memory>

ServiceRouter::ServiceRouter(ServiceStore& store, BearerAuth& auth, ServiceClock& clock,
                             bool testControls, QObject* parent)
    : QObject(parent), store_(store), auth_(auth), clock_(clock), testControls_(testControls) {}

void ServiceRouter::add(const QByteArray& method, const QString& path, Handler handler) {
    routes_[path].append({method, std::move(handler)});
}

QFuture<ServiceReply> ServiceRouter::ready(ServiceReply reply) {
    return QtFuture::makeReadyFuture(std::move(reply));
}

bool ServiceRouter::isTestControlPath(const QString& path) {
    return path.startsWith("/test/");
}

QFuture<ServiceReply> ServiceRouter::dispatch(const ServiceRequest& request) {
    if (isTestControlPath(request.path)) {
        if (!testControls_ || !request.peer.isLoopback())
            return ready(ServiceReply::error(404, "not_found"));
        return answer(request);
    }
    if (!testControls_)
        return answer(request);
    try {
        return recordAndAnswer(request);
    } catch (const StorageError& error) {
        return ready(storageFailure(error));
    }
}

QFuture<ServiceReply> ServiceRouter::recordAndAnswer(const ServiceRequest& request) {
    const qint64 id = store_.addReceived(describe(request), clock_.now());
    const std::optional<ServiceStore::CannedAnswer> canned = store_.takeCannedAnswer(request.path);
    QFuture<ServiceReply> result;
    if (!canned) {
        result = answer(request);
    } else if (canned->status) {
        ServiceReply reply;
        reply.status = *canned->status;
        reply.contentType = canned->contentType;
        reply.body = canned->body;
        result = afterDelay(canned->delayMs, [reply] { return ready(reply); });
    } else {
        result = afterDelay(canned->delayMs, [this, request] { return answer(request); });
    }
    return result.then(this, [this, id](ServiceReply reply) {
        recordStatus(id, reply.status);
        return reply;
    });
}

QFuture<ServiceReply> ServiceRouter::answer(const ServiceRequest& request) {
    try {
        return route(request);
    } catch (const StorageError& error) {
        return ready(storageFailure(error));
    }
}

QFuture<ServiceReply> ServiceRouter::route(const ServiceRequest& request) {
    const auto found = routes_.constFind(request.path);
    if (found == routes_.constEnd())
        return ready(ServiceReply::error(404, "not_found"));
    QByteArrayList allowed;
    for (const Route& candidate : *found) {
        if (candidate.method == request.method)
            return candidate.handler(request);
        allowed << candidate.method;
    }
    ServiceReply reply = ServiceReply::error(405, "method_not_allowed");
    reply.addHeader("Allow", allowed.join(", "));
    return ready(reply);
}

QFuture<ServiceReply> ServiceRouter::afterDelay(int ms,
                                                std::function<QFuture<ServiceReply>()> next) {
    if (ms <= 0)
        return next();
    auto promise = std::make_shared<QPromise<ServiceReply>>();
    promise->start();
    QTimer::singleShot(ms, this, [this, promise, next] {
        next().then(this, [promise](ServiceReply reply) {
            promise->addResult(std::move(reply));
            promise->finish();
        });
    });
    return promise->future();
}

ServiceStore::ReceivedRequest ServiceRouter::describe(const ServiceRequest& request) {
    ServiceStore::ReceivedRequest record;
    record.method = QString::fromLatin1(request.method);
    record.path = request.path;
    record.query = request.query.query(QUrl::FullyEncoded);
    record.contentType = QString::fromLatin1(request.header("Content-Type"));
    record.body = request.body;
    // What the token proved, never the token itself.
    record.auth = "none";
    if (request.bearerToken()) {
        const std::optional<ServiceStore::Account> account = auth_.account(request);
        record.auth = account ? "valid" : "invalid";
        if (account)
            record.accountEmail = account->email;
    } else if (!request.header("Authorization").isEmpty()) {
        record.auth = "invalid";
    }
    return record;
}

void ServiceRouter::recordStatus(qint64 id, int status) {
    try {
        store_.setReceivedStatus(id, status);
    } catch (const StorageError& error) {
        qWarning("glintext-service: %s", error.what());
    }
}

ServiceReply ServiceRouter::storageFailure(const std::exception& error) {
    qWarning("glintext-service: %s", error.what());
    return ServiceReply::error(503, "storage_unavailable");
}
