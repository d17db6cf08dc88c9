#include "core/Defaults.h"

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/KeptAside.h"
#include "core/DebugLog.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

Defaults::Defaults(QString filePath, Access access)
    : m_path(std::move(filePath)), m_access(access) {
    reload();
}

QString Defaults::standardPath() {
    return AppPaths::configDirPath() + "/defaults.json";
}

void Defaults::reload() {
    m_values = {};
    m_unreadable = false;
    const bool writable = m_access == Access::ReadWrite;
    if (writable)
        AtomicFile::removeLeftover(m_path);
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        m_unreadable = true;
        if (writable)
            DebugLog::log(QStringLiteral("Defaults: %1 cannot be read (%2); running on the "
                                         "defaults without writing over it")
                              .arg(QFileInfo(m_path).fileName(), file.errorString()));
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError && doc.isObject()) {
        m_values = doc.object();
        return;
    }
    if (writable)
        keepUnparsableFile(error);
}

// Never overwrite a file we could not use: keep it for the user, start empty.
void Defaults::keepUnparsableFile(const QJsonParseError& error) {
    const QString aside = KeptAside::moveAside(m_path);
    DebugLog::log(QStringLiteral("Defaults: %1 is not a JSON object (%2); %3")
                      .arg(QFileInfo(m_path).fileName(),
                           error.error == QJsonParseError::NoError ? QStringLiteral("not an object")
                                                                   : error.errorString(),
                           aside.isEmpty()
                               ? QStringLiteral("could not move it aside")
                               : QStringLiteral("moved aside to ") + QFileInfo(aside).fileName()));
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
    if (m_access == Access::ReadOnly || m_unreadable)
        return;
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QFileInfo::exists(folder))
        AppPaths::makePrivateDir(folder);
    AtomicFile::write(m_path, QJsonDocument(m_values).toJson(QJsonDocument::Indented),
                      AtomicFile::ownerOnly);
}
