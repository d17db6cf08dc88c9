#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// An update feed: an RSS document whose items describe releases in the common appcast form
// (a "sparkle:" namespace carrying the build version, the version shown to people and a
// release-notes link; the download as the item's enclosure).
class Appcast {
public:
    struct Item {
        QString title;
        QString version;      // compared with the running build's version
        QString shortVersion; // shown to people; the version when the feed has none
        QUrl releaseNotesLink;
        QUrl downloadUrl; // the enclosure
    };

    // The items of a feed, in the feed's order; nothing when it is not a readable RSS
    // document (with a reason in `error`). Items without a version or a download are left out.
    static std::optional<QList<Item>> parse(const QByteArray& xml, QString* error = nullptr);

    // The newest item strictly newer than `currentVersion`, if any.
    static std::optional<Item> newestAfter(const QList<Item>& items, const QString& currentVersion);

    // Orders versions as people read them: "1.10" > "1.9", "2.0" > "2.0b1" > "2.0a3",
    // "1.0" == "1.0.0". Negative, zero or positive like strcmp.
    static int compareVersions(const QString& a, const QString& b);
};
