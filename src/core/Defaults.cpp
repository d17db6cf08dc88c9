#include "core/Defaults.h"

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "core/DebugLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

Defaults::Defaults(QString filePath) : m_path(std::move(filePath)) {
    reload();
}

QString Defaults::standardPath() {
    return AppPaths::configDir() + "/defaults.json";
}

void Defaults::reload() {
    m_values = {};
    AtomicFile::removeLeftover(m_path);
    QFile file(m_path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    file.close();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError && doc.isObject()) {
        m_values = doc.object();
        return;
    }
    // Never overwrite a file we could not read: keep it for the user, start empty.
    const QString aside = m_path + ".corrupt";
    QFile::remove(aside);
    const bool moved = QFile::rename(m_path, aside);
    DebugLog::log(QStringLiteral("Defaults: %1 is not a JSON object (%2); %3")
                      .arg(QFileInfo(m_path).fileName(),
                           error.error == QJsonParseError::NoError ? QStringLiteral("not an object")
                                                                   : error.errorString(),
                           moved ? QStringLiteral("moved aside to ") + QFileInfo(aside).fileName()
                                 : QStringLiteral("could not move it aside")));
}

std::optional<bool> Defaults::boolValue(const QString& key) const {
    const QJsonValue v = m_values.value(key);
    if (!v.isBool())
        return std::nullopt;
    return v.toBool();
}

std::optional<qint64> Defaults::integerValue(const QString& key) const {
    const QJsonValue v = m_values.value(key);
    if (!v.isDouble())
        return std::nullopt;
    const QVariant variant = v.toVariant();
    if (variant.typeId() == QMetaType::LongLong)
        return variant.toLongLong();
    const double d = v.toDouble();
    // An integral double (100.0) is a number stored by another writer; accept it as Int.
    if (std::isfinite(d) && std::trunc(d) == d && std::fabs(d) < 9.2e18)
        return qint64(d);
    return std::nullopt;
}

std::optional<double> Defaults::doubleValue(const QString& key) const {
    const QJsonValue v = m_values.value(key);
    if (!v.isDouble())
        return std::nullopt;
    return v.toDouble();
}

std::optional<QString> Defaults::stringValue(const QString& key) const {
    const QJsonValue v = m_values.value(key);
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

std::optional<QStringList> Defaults::stringListValue(const QString& key) const {
    const QJsonValue v = m_values.value(key);
    if (!v.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue& item : v.toArray()) {
        if (!item.isString())
            return std::nullopt;
        list.append(item.toString());
    }
    return list;
}

void Defaults::setValue(const QString& key, const QJsonValue& value) {
    m_values.insert(key, value);
    save();
}

void Defaults::setStringList(const QString& key, const QStringList& value) {
    setValue(key, QJsonArray::fromStringList(value));
}

void Defaults::remove(const QString& key) {
    m_values.remove(key);
    save();
}

void Defaults::save() const {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    AtomicFile::write(m_path, QJsonDocument(m_values).toJson(QJsonDocument::Indented),
                      AtomicFile::ownerOnly);
}
