#include "core/OCRHistoryStore.h"

#include "base/AtomicFile.h"
#include "base/KeptAside.h"
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
    connect(&m_saveTimer, &QTimer::timeout, this, &OCRHistoryStore::saveInBackground);
    m_writer.setMaxThreadCount(1);
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

OCRHistoryStore::~OCRHistoryStore() {
    m_writer.waitForDone();
}

void OCRHistoryStore::load() {
    AtomicFile::removeLeftover(m_path);
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        keepUnusableFile(nullptr);
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    if (std::optional<QList<Capture>> decoded = decode(bytes)) {
        m_items = std::move(*decoded);
        return;
    }
    if (!bytes.isEmpty())
        keepUnusableFile(&bytes);
}

// The next save would overwrite the user's history with whatever is left in memory, so a
// file we cannot use is kept beside it first: a copy of what was read, or, when it cannot be
// read at all, the file itself moved out of the way.
void OCRHistoryStore::keepUnusableFile(const QByteArray* bytes) {
    const QString aside =
        bytes ? KeptAside::keepCopy(m_path, *bytes) : KeptAside::moveAside(m_path);
    DebugLog::log(
        QStringLiteral("History: %1 %2; %3")
            .arg(QFileInfo(m_path).fileName(),
                 bytes ? QStringLiteral("does not decode") : QStringLiteral("cannot be read"),
                 aside.isEmpty() ? QStringLiteral("could not keep a copy")
                                 : QStringLiteral("kept as ") + QFileInfo(aside).fileName()));
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

void OCRHistoryStore::saveInBackground() {
    const quint64 save = ++m_latestSave;
    // The list is shared, not copied: a later change detaches it on this thread.
    m_writer.start([this, save, items = m_items] {
        if (save != m_latestSave.load())
            return; // a newer save is queued behind this one, or already written
        if (write(items))
            QMetaObject::invokeMethod(this, &OCRHistoryStore::saved, Qt::QueuedConnection);
    });
}

void OCRHistoryStore::saveNow() {
    m_saveTimer.stop();
    ++m_latestSave; // what is still queued is older than this
    m_writer.waitForDone();
    if (write(m_items))
        Q_EMIT saved();
}

// A failed write is silent by design: the list stays in memory and the next change tries
// again. Runs on the worker or, for saveNow(), on the caller's thread, never both at once.
bool OCRHistoryStore::write(const QList<Capture>& items) const {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QString error;
    if (!AtomicFile::write(m_path, encode(items), AtomicFile::ownerOnly, &error)) {
        DebugLog::log(QStringLiteral("History: save failed: ") + error);
        return false;
    }
    return true;
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
