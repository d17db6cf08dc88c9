#include "JsonRules.h"

#include <QJsonValue>

namespace JsonRules {

namespace {

bool hasKind(const QJsonValue& value, Kind kind) {
    switch (kind) {
    case Kind::String:
        return value.isString();
    case Kind::Number:
        return value.isDouble();
    case Kind::Bool:
        return value.isBool();
    case Kind::Object:
        return value.isObject();
    case Kind::Array:
        return value.isArray();
    }
    return false;
}

} // namespace

QString firstViolation(const QJsonObject& object, std::initializer_list<Member> rules) {
    for (const Member& rule : rules) {
        const QJsonValue value = object.value(QLatin1String(rule.name));
        if (value.isUndefined()) {
            if (rule.required)
                return QLatin1String(rule.name);
            continue;
        }
        if (!hasKind(value, rule.kind))
            return QLatin1String(rule.name);
        if (rule.fixedValue && value.toString() != QLatin1String(rule.fixedValue))
            return QLatin1String(rule.name);
    }
    return {};
}

bool isScalar(const QJsonValue& value) {
    // QJsonDocument turns NaN and infinities into null, so a number here is finite.
    return value.isString() || value.isBool() || value.isDouble();
}

bool isPlainText(const QString& text) {
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace JsonRules
