#include "core/OCRHistoryStore.h"

#include "core/AppSettings.h"

#include <algorithm>

OCRHistoryStore& OCRHistoryStore::shared() {
    static OCRHistoryStore* instance = new OCRHistoryStore();
    return *instance;
}

OCRHistoryStore::OCRHistoryStore() {
    prune();
}

void OCRHistoryStore::setItems(const QList<Capture>& items) {
    m_items = items;
    Q_EMIT itemsChanged();
    scheduleSave();
}

std::optional<QUuid> OCRHistoryStore::add(const QString& text) {
    if (!AppSettings::shared().keepHistory())
        return std::nullopt;
    const QDateTime now =
        QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC);
    Capture capture{QUuid::createUuid(), now, text};
    m_items.prepend(capture);
    prune();
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

void OCRHistoryStore::prune() {
    const qint64 limit = std::max<qint64>(1, AppSettings::shared().historyLimit());
    if (m_items.size() > limit) {
        m_items.resize(limit);
        Q_EMIT itemsChanged();
        scheduleSave();
    }
}

// Persistence arrives with the history file format.
void OCRHistoryStore::saveNow() {}
void OCRHistoryStore::scheduleSave() {}
