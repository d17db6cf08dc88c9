#pragma once

#include "core/Settings.h"

#include <QHash>
#include <QJsonValue>
#include <QObject>
#include <QString>

#include <optional>

class Defaults;
class LoginItem;

// The single store of user preferences, driven by the table in Settings.h. Every value is
// written through to the defaults domain under its key on every set, even when it does not
// change. willChange() fires before each change and changed(key) after the value is stored;
// other services follow changed() for their side effects (the history prunes, the reporter
// empties its queue). GUI thread.
class AppSettings : public QObject {
    Q_OBJECT
public:
    // Reads every preference; on the very first start also registers the login item.
    AppSettings(Defaults& defaults, LoginItem& loginItem, QObject* parent = nullptr);

    bool value(const Setting<bool>& setting) const;
    qint64 value(const Setting<qint64>& setting) const;
    std::optional<QString> value(const Setting<Settings::OptionalString>& setting) const;

    void set(const Setting<bool>& setting, bool value);
    void set(const Setting<qint64>& setting, qint64 value);
    void set(const Setting<Settings::OptionalString>& setting, const std::optional<QString>& value);

    // The same by key, as JSON of the table's type (null for an absent string), for code that
    // walks the table. A key the table lacks reads as undefined; setting one, or a value of
    // another type, is refused.
    QJsonValue jsonValue(const QString& key) const;
    bool setJsonValue(const QString& key, const QJsonValue& value);

Q_SIGNALS:
    void willChange();
    void changed(const QString& key);

private:
    void store(const Settings::Entry& entry, const QJsonValue& value);
    void applyLaunchAtLogin();

    Defaults& m_defaults;
    LoginItem& m_loginItem;
    QHash<QString, QJsonValue> m_values;
};
