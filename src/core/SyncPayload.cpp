#include "core/SyncPayload.h"

#include "core/AppSettings.h"
#include "core/Settings.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace {

// The travelling preferences, in the table's order (the language first).
QList<Settings::Entry> travelling() {
    QList<Settings::Entry> entries;
    for (const Settings::Entry& entry : Settings::table()) {
        if (entry.synced)
            entries << entry;
    }
    return entries;
}

// Whether a present, non-null member has the entry's JSON type. Only the type matters here:
// whether this machine accepts the value is the settings store's decision when it is applied.
bool hasType(const Settings::Entry& entry, const QJsonValue& value) {
    switch (entry.type) {
    case Settings::Type::Bool:
        return value.isBool();
    case Settings::Type::Integer: {
        if (!value.isDouble())
            return false;
        const double number = value.toDouble();
        return std::isfinite(number) && std::trunc(number) == number &&
               number >= -9.2233720368547758e18 && number < 9.2233720368547758e18;
    }
    case Settings::Type::OptionalString:
        return value.isString();
    }
    return false;
}

} // namespace

SyncPayload SyncPayload::from(const AppSettings& settings) {
    SyncPayload payload;
    for (const Settings::Entry& entry : travelling()) {
        const QJsonValue value = settings.jsonValue(entry.key);
        if (!value.isNull() && !value.isUndefined())
            payload.m_members.insert(entry.key, value);
    }
    return payload;
}

std::optional<SyncPayload> SyncPayload::fromJson(const QJsonObject& object) {
    SyncPayload payload;
    for (const Settings::Entry& entry : travelling()) {
        const QJsonValue value = object.value(entry.key);
        if (value.isUndefined() || value.isNull())
            continue;
        if (!hasType(entry, value))
            return std::nullopt;
        payload.m_members.insert(entry.key, entry.type == Settings::Type::Integer
                                                ? QJsonValue(qint64(value.toDouble()))
                                                : value);
    }
    return payload;
}

std::optional<SyncPayload> SyncPayload::decode(const QByteArray& blob) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(blob, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return fromJson(document.object());
}

void SyncPayload::apply(AppSettings& settings) const {
    for (const Settings::Entry& entry : travelling()) {
        const std::optional<QJsonValue> member = value(entry.key);
        if (member)
            settings.setJsonValue(entry.key, *member);
        else if (entry.type == Settings::Type::OptionalString)
            settings.setJsonValue(entry.key, QJsonValue()); // back to the system language
    }
}

QJsonObject SyncPayload::toJson() const {
    QJsonObject object;
    for (auto it = m_members.cbegin(); it != m_members.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

QByteArray SyncPayload::blob() const {
    // A JSON object keeps its members sorted by name, and compact output has no white space.
    return QJsonDocument(toJson()).toJson(QJsonDocument::Compact);
}

std::optional<QJsonValue> SyncPayload::value(const QString& key) const {
    const auto it = m_members.constFind(key);
    if (it == m_members.cend())
        return std::nullopt;
    return *it;
}
