#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <optional>

// The user-defaults domain: a typed key-value store kept as one JSON object in
// ~/.config/Glintext/defaults.json and rewritten atomically on every change. Values keep
// their JSON type, so a reader asking for a Bool gets nothing for a stored string.
// The user's file is never lost: one that does not parse is kept aside (KeptAside) before
// the store starts empty, and one that exists but cannot be read is left alone: the store
// then runs on its defaults in memory and writes nothing.
// One instance per process, used on the GUI thread only.
class Defaults {
public:
    enum class Access {
        ReadWrite, // the application: tidies after a crash, keeps a bad file aside, writes
        ReadOnly,  // a command that must leave no trace: reads, never touches the disk
    };

    explicit Defaults(QString filePath, Access access = Access::ReadWrite);
    Defaults(const Defaults&) = delete;
    Defaults& operator=(const Defaults&) = delete;

    // The app's own domain: ~/.config/Glintext/defaults.json.
    static QString standardPath();

    QString filePath() const { return m_path; }
    // The file exists but could not be read: changes stay in memory.
    bool isUnreadable() const { return m_unreadable; }
    bool contains(const QString& key) const { return m_values.contains(key); }
    QJsonValue value(const QString& key) const { return m_values.value(key); }

    // Typed reads: nothing when the key is missing or holds another type.
    std::optional<bool> boolValue(const QString& key) const;
    std::optional<qint64> integerValue(const QString& key) const; // integral numbers only
    std::optional<double> doubleValue(const QString& key) const;  // any number
    std::optional<QString> stringValue(const QString& key) const;
    std::optional<QStringList> stringListValue(const QString& key) const; // all strings

    // Missing or wrong type read as false.
    bool boolForKey(const QString& key) const { return boolValue(key).value_or(false); }

    void setValue(const QString& key, const QJsonValue& value);
    void setBool(const QString& key, bool value) { setValue(key, value); }
    void setInteger(const QString& key, qint64 value) { setValue(key, value); }
    void setDouble(const QString& key, double value) { setValue(key, value); }
    void setString(const QString& key, const QString& value) { setValue(key, value); }
    void setStringList(const QString& key, const QStringList& value);
    void remove(const QString& key);

    // Re-reads the file (tests, and after another process changed it).
    void reload();

private:
    void save() const;
    void keepUnparsableFile(const QJsonParseError& error);

    QString m_path;
    Access m_access;
    bool m_unreadable = false;
    QJsonObject m_values;
};
