#include "core/CloudJson.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>

#include <cmath>

namespace CloudJson {

QByteArray serialize(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonObject parseObject(const QByteArray& bytes) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    return document.object();
}

std::optional<QString> string(const QJsonObject& object, const QString& name) {
    const QJsonValue value = object.value(name);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<qint64> integer(const QJsonObject& object, const QString& name) {
    const QJsonValue value = object.value(name);
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    // 2^63 itself is out of range; every double below it converts exactly.
    if (!std::isfinite(number) || std::trunc(number) != number || number < -9.2233720368547758e18 ||
        number >= 9.2233720368547758e18)
        return std::nullopt;
    return value.toInteger();
}

std::optional<QJsonObject> object(const QJsonObject& object, const QString& name) {
    const QJsonValue value = object.value(name);
    if (!value.isObject())
        return std::nullopt;
    return value.toObject();
}

} // namespace CloudJson
