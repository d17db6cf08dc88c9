#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

// JSON as every cloud request writes and reads it: bodies are compact objects, answers are read
// leniently (anything but an object counts as the empty object), and members are read by name
// with a type test, a member of the wrong type counting as absent.
namespace CloudJson {

QByteArray serialize(const QJsonObject& object);
QJsonObject parseObject(const QByteArray& bytes);

std::optional<QString> string(const QJsonObject& object, const QString& name);
// A whole number within 64 bits; 5.0 is one, 5.5, "5" and true are not.
std::optional<qint64> integer(const QJsonObject& object, const QString& name);
std::optional<QJsonObject> object(const QJsonObject& object, const QString& name);

} // namespace CloudJson
