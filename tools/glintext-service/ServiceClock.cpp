#include "ServiceClock.h"

#include "ServiceStore.h"

#include <QDateTime>

namespace {
const QString offsetKey = QStringLiteral("clock_offset_seconds");
}

ServiceClock::ServiceClock(ServiceStore& store, bool adjustable)
    : store_(store), adjustable_(adjustable) {}

qint64 ServiceClock::now() const {
    return QDateTime::currentSecsSinceEpoch() + offset();
}

QString ServiceClock::day() const {
    return QDateTime::fromSecsSinceEpoch(now(), Qt::UTC).date().toString(Qt::ISODate);
}

qint64 ServiceClock::advance(qint64 seconds) {
    const qint64 total = offset() + seconds;
    store_.setMeta(offsetKey, QString::number(total));
    return total;
}

qint64 ServiceClock::offset() const {
    if (!adjustable_)
        return 0;
    return store_.meta(offsetKey).value_or("0").toLongLong();
}
