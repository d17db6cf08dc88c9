#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <QUuid>

#include <atomic>
#include <chrono>
#include <optional>

class AppSettings;

// The local capture history, newest first, mirrored to "history.json" in the data folder.
// Memory is the truth; the file follows one second after the last change and once more,
// synchronously, at quit. The delayed save encodes and writes on a worker thread, so a large
// history never stalls the interface; writes happen one at a time in the order they were
// asked for, and one that a newer save supersedes before it starts is skipped. Follows
// "keepHistory" and "historyLimit" of the settings: a lower limit prunes at once.
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

    // The application's store is on dataFile(fileName); tests use their own files and
    // shorten the delay.
    OCRHistoryStore(const AppSettings& settings, const QString& filePath,
                    std::chrono::milliseconds saveDelay = defaultSaveDelay,
                    QObject* parent = nullptr);
    // Waits for a write in progress.
    ~OCRHistoryStore() override;

    const QList<Capture>& items() const { return m_items; }
    // Replaces the whole list (the clear-all dialog) and schedules a save.
    void setItems(const QList<Capture>& items);

    // Records a new capture; nothing (and no id) when "keepHistory" is off.
    std::optional<QUuid> add(const QString& text);
    // Replaces the text of the entry with `id`, keeping id and date; unknown ids are ignored.
    void replace(const QUuid& id, const QString& text);
    // Enforces "historyLimit" now.
    void prune();
    // Writes the file now, on the calling thread, after any write in progress, and cancels a
    // pending delayed save.
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
    // After every write that reached the disk.
    void saved();

private:
    void load();
    void keepUnusableFile(const QByteArray* bytes);
    bool pruneQuietly();
    void scheduleSave();
    void saveInBackground();
    bool write(const QList<Capture>& items) const;

    const AppSettings& m_settings;
    const QString m_path;
    QList<Capture> m_items;
    QTimer m_saveTimer;
    QThreadPool m_writer;                 // one thread: writes keep their order
    std::atomic<quint64> m_latestSave{0}; // the newest save asked for
};
