#pragma once

#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

// One preference: its key in the defaults domain (also its name), the value it has when the
// key is missing or holds another type, and whether settings sync carries it between the
// user's machines.
template <typename T> struct Setting {
    const char* key;
    T defaultValue;
    bool synced;
};

// The preferences, each declared once. AppSettings reads, writes and announces them from
// this table; settings sync and the settings window read the same table.
namespace Settings {

using OptionalString = std::optional<QString>;

inline constexpr Setting<bool> onboardingCompleted{"onboardingCompleted", false, false};
inline constexpr Setting<bool> launchAtLogin{"launchAtLogin", true, false};
// Absent follows the system language; stored as a string, the key removed when absent.
inline const Setting<OptionalString> languageCode{"languageCode", std::nullopt, true};
inline constexpr Setting<bool> cleanupEnabled{"cleanupEnabled", true, true};
inline constexpr Setting<bool> detectQR{"detectQR", true, true};
inline constexpr Setting<bool> showHUD{"showHUD", true, true};
inline constexpr Setting<bool> soundEnabled{"soundEnabled", true, true};
inline constexpr Setting<bool> keepHistory{"keepHistory", true, true};
// The settings window offers 25, 50, 100, 300 and 1000; any other number is a value of the
// wrong kind (a limit of 0 would prune the history to nothing).
inline constexpr Setting<qint64> historyLimit{"historyLimit", 100, true};
inline const QList<qint64> historyLimitChoices{25, 50, 100, 300, 1000};
inline constexpr Setting<bool> crashReportingEnabled{"crashReportingEnabled", true, false};
inline constexpr Setting<bool> improveDataSharing{"improveDataSharing", true, true};

// How a value is stored: a JSON boolean, a JSON integer, or a JSON string whose absence
// is a value of its own.
enum class Type { Bool, Integer, OptionalString };

struct Entry {
    QString key;
    Type type;
    QJsonValue defaultValue; // null for an absent string
    bool synced;
    QList<qint64> choices = {}; // for an integer: the only values it may take, when not empty
};

// Whether `value` is a value of the entry: of its type, and one of its choices if it has any.
bool accepts(const Entry& entry, const QJsonValue& value);

// Every preference, in the order the store loads them.
const QList<Entry>& table();
// The entry for `key`; nothing when no preference has that key.
std::optional<Entry> entry(const QString& key);

} // namespace Settings
