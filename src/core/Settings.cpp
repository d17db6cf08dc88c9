#include "core/Settings.h"

namespace Settings {

namespace {

Entry entryOf(const Setting<bool>& s) {
    return {QString::fromLatin1(s.key), Type::Bool, s.defaultValue, s.synced};
}

Entry entryOf(const Setting<qint64>& s) {
    return {QString::fromLatin1(s.key), Type::Integer, s.defaultValue, s.synced};
}

Entry entryOf(const Setting<OptionalString>& s) {
    return {QString::fromLatin1(s.key), Type::OptionalString,
            s.defaultValue ? QJsonValue(*s.defaultValue) : QJsonValue(), s.synced};
}

} // namespace

const QList<Entry>& table() {
    static const QList<Entry> all = {
        entryOf(onboardingCompleted),   entryOf(launchAtLogin),      entryOf(languageCode),
        entryOf(cleanupEnabled),        entryOf(detectQR),           entryOf(showHUD),
        entryOf(soundEnabled),          entryOf(keepHistory),        entryOf(historyLimit),
        entryOf(crashReportingEnabled), entryOf(improveDataSharing),
    };
    return all;
}

std::optional<Entry> entry(const QString& key) {
    for (const Entry& e : table()) {
        if (e.key == key)
            return e;
    }
    return std::nullopt;
}

} // namespace Settings
