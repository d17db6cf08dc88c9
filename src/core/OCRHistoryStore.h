#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>

// The local capture history, newest first.
class OCRHistoryStore : public QObject {
    Q_OBJECT
public:
    struct Capture {
        QUuid id;
        QDateTime date;
        QString text;
        bool operator==(const Capture&) const = default;
    };

    static OCRHistoryStore& shared();

    const QList<Capture>& items() const { return m_items; }
    void setItems(const QList<Capture>& items);

    // Records a new capture; nothing (and no id) when "keepHistory" is off.
    std::optional<QUuid> add(const QString& text);
    // Replaces the text of the entry with `id`, keeping id and date; unknown ids are ignored.
    void replace(const QUuid& id, const QString& text);
    // Enforces "historyLimit" now.
    void prune();
    // Writes the file now and cancels a pending delayed save.
    void saveNow();

Q_SIGNALS:
    void itemsChanged();

private:
    OCRHistoryStore();
    void scheduleSave();

    QList<Capture> m_items;
};
