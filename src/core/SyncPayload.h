#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>

#include <optional>

class AppSettings;

// The settings that travel between the user's machines: one optional member per preference
// the settings table marks as synced (the language, clean-up, codes, toast, sound, history and
// its limit, improvement sharing), each named after its key. Captured text, the history, the
// account and the other preferences never travel. No version and no time stamp: ordering is
// the sync engine's business.
class SyncPayload {
public:
    SyncPayload() = default; // every member absent

    // Every member from the settings' current values; the language is absent when the
    // settings follow the system language.
    static SyncPayload from(const AppSettings& settings);

    // A document as the service returns it. Members missing or null are absent, members of
    // other names are ignored; a present member of the wrong JSON type (text for a number, a
    // fraction for an integer) rejects the whole document.
    static std::optional<SyncPayload> fromJson(const QJsonObject& object);
    // The same from the blob's UTF-8 text; anything but a JSON object is no document.
    static std::optional<SyncPayload> decode(const QByteArray& blob);

    // Writes the payload onto the settings through their ordinary setters, so every side
    // effect of a user's change follows. The language is always assigned (absent switches
    // to the system language); every other member only when present.
    void apply(AppSettings& settings) const;

    // The present members; absent ones are left out.
    QJsonObject toJson() const;
    // The blob: members sorted by name, no white space, UTF-8. Equal settings give
    // byte-identical blobs, which is what change detection compares.
    QByteArray blob() const;

    // A member by key: nothing when absent (or when the key does not travel).
    std::optional<QJsonValue> value(const QString& key) const;

    friend bool operator==(const SyncPayload&, const SyncPayload&) = default;

private:
    QMap<QString, QJsonValue> m_members;
};
