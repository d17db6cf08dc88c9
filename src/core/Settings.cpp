#include "core/Settings.h"

#include <cmath>

namespace Settings {

namespace {

Entry entryOf(const Setting<bool>& s) {
    return {QString::fromLatin1(s.key), Type::Bool, s.defaultValue, s.synced};
}

Entry entryOf(const Setting<qint64>& s, QList<qint64> choices = {}) {
    return {QString::fromLatin1(s.key), Type::Integer, s.defaultValue, s.synced,
            std::move(choices)};
}

Entry entryOf(const Setting<OptionalString>& s) {
    return {QString::fromLatin1(s.key), Type::OptionalString,
            s.defaultValue ? QJsonValue(*s.defaultValue) : QJsonValue(), s.synced};
}

} // namespace

const QList<Entry>& table() {
    static const QList<Entry> all = {
        entryOf(onboardingCompleted),
        entryOf(launchAtLogin),
        entryOf(languageCode),
        entryOf(cleanupEnabled),
        entryOf(detectQR),
        entryOf(showHUD),
        entryOf(soundEnabled),
        entryOf(keepHistory),
        entryOf(historyLimit, historyLimitChoices),
        entryOf(crashReportingEnabled),
        entryOf(improveDataSharing),
    };
    return all;
}

bool accepts(const Entry& entry, const QJsonValue& value) {
    switch (entry.type) {
    case Type::Bool:
        return value.isBool();
    case Type::Integer: {
        if (!value.isDouble() || std::trunc(value.toDouble()) != value.toDouble())
            return false;
        return entry.choices.isEmpty() || entry.choices.contains(value.toInteger());
    }
    case Type::OptionalString:
        return value.isString() || value.isNull();
    }
    return false;
}

std::optional<Entry> entry(const QString& key) {
    for (const Entry& e : table()) {
        if (e.key == key)
            return e;
    }
    return std::nullopt;
}

} // namespace Settings
