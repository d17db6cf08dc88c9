#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <optional>

// The user-defaults domain: a typed key-value store kept as one JSON object in
// ~/.config/Glintext/defaults.json and rewritten atomically on every change. Values keep
// their JSON type, so a reader asking for a Bool gets nothing for a stored string.
// One instance per process, used on the GUI thread only.
class Defaults {
public:
    explicit Defaults(QString filePath);
    Defaults(const Defaults&) = delete;
    Defaults& operator=(const Defaults&) = delete;

    // The app's own domain: ~/.config/Glintext/defaults.json.
    static QString standardPath();

    QString filePath() const { return m_path; }
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

    QString m_path;
    QJsonObject m_values;
};
