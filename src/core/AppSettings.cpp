#include "core/AppSettings.h"

#include "core/Defaults.h"
#include "platform/LoginItem.h"

#include <QDebug>

namespace {

// What the defaults hold under the entry's key, if it is a value of the entry.
std::optional<QJsonValue> stored(const Defaults& defaults, const Settings::Entry& entry) {
    std::optional<QJsonValue> value;
    switch (entry.type) {
    case Settings::Type::Bool:
        if (const std::optional<bool> v = defaults.boolValue(entry.key))
            value = QJsonValue(*v);
        break;
    case Settings::Type::Integer:
        if (const std::optional<qint64> v = defaults.integerValue(entry.key))
            value = QJsonValue(*v);
        break;
    case Settings::Type::OptionalString:
        if (const std::optional<QString> v = defaults.stringValue(entry.key))
            value = QJsonValue(*v);
        break;
    }
    if (value && !Settings::accepts(entry, *value))
        return std::nullopt;
    return value;
}

} // namespace

AppSettings::AppSettings(Defaults& defaults, LoginItem& loginItem, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_loginItem(loginItem) {
    for (const Settings::Entry& entry : Settings::table())
        m_values.insert(entry.key, stored(defaults, entry).value_or(entry.defaultValue));

    // First start (or the key was removed): start at login by default. A file we could not
    // read may well say otherwise, so that is no first start.
    const QString launchKey = QString::fromLatin1(Settings::launchAtLogin.key);
    if (!defaults.contains(launchKey) && !defaults.isUnreadable()) {
        defaults.setBool(launchKey, true);
        applyLaunchAtLogin();
    }
}

bool AppSettings::value(const Setting<bool>& setting) const {
    return m_values.value(QString::fromLatin1(setting.key)).toBool(setting.defaultValue);
}

qint64 AppSettings::value(const Setting<qint64>& setting) const {
    return m_values.value(QString::fromLatin1(setting.key)).toInteger(setting.defaultValue);
}

std::optional<QString> AppSettings::value(const Setting<Settings::OptionalString>& setting) const {
    const QJsonValue v = m_values.value(QString::fromLatin1(setting.key));
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

void AppSettings::set(const Setting<bool>& setting, bool value) {
    setJsonValue(QString::fromLatin1(setting.key), value);
}

void AppSettings::set(const Setting<qint64>& setting, qint64 value) {
    setJsonValue(QString::fromLatin1(setting.key), value);
}

void AppSettings::set(const Setting<Settings::OptionalString>& setting,
                      const std::optional<QString>& value) {
    setJsonValue(QString::fromLatin1(setting.key), value ? QJsonValue(*value) : QJsonValue());
}

QJsonValue AppSettings::jsonValue(const QString& key) const {
    return m_values.value(key, QJsonValue(QJsonValue::Undefined));
}

bool AppSettings::setJsonValue(const QString& key, const QJsonValue& value) {
    const std::optional<Settings::Entry> entry = Settings::entry(key);
    if (!entry || !Settings::accepts(*entry, value))
        return false;
    Q_EMIT willChange();
    m_values.insert(key, value);
    store(*entry, value);
    if (key == QLatin1String(Settings::launchAtLogin.key))
        applyLaunchAtLogin();
    Q_EMIT changed(key);
    return true;
}

void AppSettings::store(const Settings::Entry& entry, const QJsonValue& value) {
    switch (entry.type) {
    case Settings::Type::Bool:
        m_defaults.setBool(entry.key, value.toBool());
        break;
    case Settings::Type::Integer:
        m_defaults.setInteger(entry.key, value.toInteger());
        break;
    case Settings::Type::OptionalString:
        if (value.isString())
            m_defaults.setString(entry.key, value.toString());
        else
            m_defaults.remove(entry.key);
        break;
    }
}

void AppSettings::applyLaunchAtLogin() {
    QString error;
    const bool ok = value(Settings::launchAtLogin) ? m_loginItem.registerApp(&error)
                                                   : m_loginItem.unregisterApp(&error);
    if (!ok)
        qWarning().noquote() << "Glintext: launch-at-login update failed: " + error;
}
