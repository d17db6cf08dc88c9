#include "core/OCRHistoryStore.h"

#include "base/AtomicFile.h"
#include "core/AppSettings.h"
#include "core/DebugLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace {

QString dateString(const QDateTime& date) {
    // Never write a date the reader would reject: that would lose the whole file.
    const int year = date.isValid() ? date.toUTC().date().year() : 0;
    const QDateTime usable =
        year >= 1 && year <= 9999 ? date : QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    // Qt::ISODate on a UTC time gives whole seconds and the "Z" suffix.
    return usable.toUTC().toString(Qt::ISODate);
}

std::optional<QDateTime> parseDate(const QString& text) {
    // Internet date-time only: Qt's own ISO reader would also take a bare date or a time
    // without zone (read as local time), which this file never holds.
    static const QRegularExpression form(
        QStringLiteral(R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}(\.\d+)?(Z|[+-]\d{2}:\d{2})$)"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    const QDateTime date = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!date.isValid())
        return std::nullopt;
    return QDateTime::fromSecsSinceEpoch(date.toSecsSinceEpoch(), Qt::UTC);
}

std::optional<QUuid> parseUuid(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        R"(^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$)"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    return QUuid::fromString(text);
}

QDateTime nowToTheSecond() {
    return QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC);
}

} // namespace

OCRHistoryStore::OCRHistoryStore(const AppSettings& settings, const QString& filePath,
                                 std::chrono::milliseconds saveDelay, QObject* parent)
    : QObject(parent), m_settings(settings), m_path(filePath) {
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setTimerType(Qt::PreciseTimer);
    m_saveTimer.setInterval(saveDelay);
    connect(&m_saveTimer, &QTimer::timeout, this, &OCRHistoryStore::saveNow);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    load();
    if (pruneQuietly())
        Q_EMIT itemsChanged();
    // Every set of the limit prunes, even to the same value, as the setting promises.
    connect(&settings, &AppSettings::changed, this, [this](const QString& key) {
        if (key == QLatin1String(Settings::historyLimit.key))
            prune();
    });
}

void OCRHistoryStore::load() {
    AtomicFile::removeLeftover(m_path);
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        keepUnreadableFile(false);
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    if (std::optional<QList<Capture>> decoded = decode(bytes)) {
        m_items = std::move(*decoded);
        return;
    }
    if (!bytes.isEmpty())
        keepUnreadableFile(true);
}

// The next save would overwrite the user's history with whatever is left in memory, so a
// file we cannot use is kept beside it first.
void OCRHistoryStore::keepUnreadableFile(bool readable) {
    const QString aside = m_path + corruptSuffix;
    QFile::remove(aside);
    bool kept = readable && QFile::copy(m_path, aside);
    if (kept)
        QFile::setPermissions(aside, AtomicFile::ownerOnly);
    else
        kept = QFile::rename(m_path, aside); // unreadable to us: move it out of the way
    DebugLog::log(QStringLiteral("History: %1 does not decode; %2")
                      .arg(QFileInfo(m_path).fileName(),
                           kept ? QStringLiteral("kept as ") + QFileInfo(aside).fileName()
                                : QStringLiteral("could not keep a copy")));
}

void OCRHistoryStore::setItems(const QList<Capture>& items) {
    m_items = items;
    Q_EMIT itemsChanged();
    scheduleSave();
}

std::optional<QUuid> OCRHistoryStore::add(const QString& text) {
    if (!m_settings.value(Settings::keepHistory))
        return std::nullopt;
    Capture capture{QUuid::createUuid(), nowToTheSecond(), text};
    m_items.prepend(capture);
    pruneQuietly();
    Q_EMIT itemsChanged();
    scheduleSave();
    return capture.id;
}

void OCRHistoryStore::replace(const QUuid& id, const QString& text) {
    auto it =
        std::find_if(m_items.begin(), m_items.end(), [&](const Capture& c) { return c.id == id; });
    if (it == m_items.end())
        return;
    it->text = text;
    Q_EMIT itemsChanged();
    scheduleSave();
}

bool OCRHistoryStore::pruneQuietly() {
    const qint64 limit = std::max<qint64>(1, m_settings.value(Settings::historyLimit));
    if (m_items.size() <= limit)
        return false;
    m_items.resize(limit);
    scheduleSave();
    return true;
}

void OCRHistoryStore::prune() {
    if (pruneQuietly())
        Q_EMIT itemsChanged();
}

void OCRHistoryStore::scheduleSave() {
    m_saveTimer.start(); // restarts: a burst of changes gives one write
}

void OCRHistoryStore::saveNow() {
    m_saveTimer.stop();
    // A failed write is silent by design: the list stays in memory and the next change
    // tries again.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QString error;
    if (!AtomicFile::write(m_path, encode(m_items), AtomicFile::ownerOnly, &error)) {
        DebugLog::log(QStringLiteral("History: save failed: ") + error);
        return;
    }
    Q_EMIT saved();
}

QByteArray OCRHistoryStore::encode(const QList<Capture>& items) {
    QJsonArray array;
    for (const Capture& c : items) {
        array.append(QJsonObject{
            {QStringLiteral("id"), c.id.toString(QUuid::WithoutBraces).toUpper()},
            {QStringLiteral("date"), dateString(c.date)},
            {QStringLiteral("text"), c.text},
        });
    }
    QByteArray bytes = QJsonDocument(array).toJson(QJsonDocument::Compact);
    // In compact JSON a slash can only stand inside a string, so this escapes exactly the
    // slashes of keys and values.
    bytes.replace('/', QByteArrayLiteral("\\/"));
    return bytes;
}

std::optional<QList<OCRHistoryStore::Capture>> OCRHistoryStore::decode(const QByteArray& bytes) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    QList<Capture> items;
    const QJsonArray array = doc.array();
    items.reserve(array.size());
    for (const QJsonValue& value : array) {
        if (!value.isObject())
            return std::nullopt;
        const QJsonObject object = value.toObject();
        const QJsonValue id = object.value(QStringLiteral("id"));
        const QJsonValue date = object.value(QStringLiteral("date"));
        const QJsonValue text = object.value(QStringLiteral("text"));
        if (!id.isString() || !date.isString() || !text.isString())
            return std::nullopt;
        const std::optional<QUuid> uuid = parseUuid(id.toString());
        const std::optional<QDateTime> when = parseDate(date.toString());
        if (!uuid || !when)
            return std::nullopt;
        items.append(Capture{*uuid, *when, text.toString()});
    }
    return items;
}
