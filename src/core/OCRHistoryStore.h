#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUuid>

#include <chrono>
#include <optional>

class AppSettings;

// The local capture history, newest first, mirrored to "history.json" in the data folder.
// Memory is the truth; the file follows one second after the last change and once more,
// synchronously, at quit. Follows "keepHistory" and "historyLimit" of the settings: a lower
// limit prunes at once.
class OCRHistoryStore : public QObject {
    Q_OBJECT
public:
    struct Capture {
        QUuid id;
        QDateTime date; // UTC, whole seconds
        QString text;
        bool operator==(const Capture&) const = default;
    };

    static constexpr std::chrono::milliseconds defaultSaveDelay{1000};
    static inline const QString fileName = QStringLiteral("history.json");
    static inline const QString corruptSuffix = QStringLiteral(".corrupt");

    // The application's store is on dataFile(fileName); tests use their own files and
    // shorten the delay.
    OCRHistoryStore(const AppSettings& settings, const QString& filePath,
                    std::chrono::milliseconds saveDelay = defaultSaveDelay,
                    QObject* parent = nullptr);

    const QList<Capture>& items() const { return m_items; }
    // Replaces the whole list (the clear-all dialog) and schedules a save.
    void setItems(const QList<Capture>& items);

    // Records a new capture; nothing (and no id) when "keepHistory" is off.
    std::optional<QUuid> add(const QString& text);
    // Replaces the text of the entry with `id`, keeping id and date; unknown ids are ignored.
    void replace(const QUuid& id, const QString& text);
    // Enforces "historyLimit" now.
    void prune();
    // Writes the file now and cancels a pending delayed save.
    void saveNow();

    QString filePath() const { return m_path; }
    bool isSavePending() const { return m_saveTimer.isActive(); }
    std::chrono::milliseconds saveDelay() const { return m_saveTimer.intervalAsDuration(); }

    // The file form: a compact JSON array of {"id","date","text"}, slashes escaped.
    static QByteArray encode(const QList<Capture>& items);
    // Strict: any malformed element makes the whole file undecodable.
    static std::optional<QList<Capture>> decode(const QByteArray& bytes);

Q_SIGNALS:
    void itemsChanged();
    // After every write attempt that reached the disk.
    void saved();

private:
    void load();
    void keepUnreadableFile(bool readable);
    bool pruneQuietly();
    void scheduleSave();

    const AppSettings& m_settings;
    QString m_path;
    QList<Capture> m_items;
    QTimer m_saveTimer;
};
