#pragma once

#include <QJsonObject>
#include <QString>

#include <initializer_list>

// Small declarative checks of JSON bodies against their wire formats.
namespace JsonRules {
enum class Kind { String, Number, Bool, Object, Array };

struct Member {
    const char* name;
    Kind kind;
    bool required = true;
    const char* fixedValue = nullptr; // a String member that must hold exactly this
};

// The name of the first member that is missing (when required), of the wrong type or of
// the wrong fixed value; empty when the object keeps every rule.
QString firstViolation(const QJsonObject& object, std::initializer_list<Member> rules);
// A string, a Boolean or a finite number: what statistics properties may hold.
bool isScalar(const QJsonValue& value);
// Text without control characters, fit for an identifier column.
bool isPlainText(const QString& text);
} // namespace JsonRules
