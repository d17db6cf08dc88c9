#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>

#include <optional>

// The update feed: RSS 2.0 with the sparkle namespace, one item per release.
namespace AppcastFeed {
struct Item {
    QString title;
    QString version;      // sparkle:version, the build number
    QString shortVersion; // sparkle:shortVersionString, "1.2.0"
    QString releaseNotesLink;
    QString url; // the enclosure: the download
    qint64 length = 0;
    QString pubDate; // RFC 822, as the feed shows it
};

// Items from {"items": [...]} or a bare array; members "version", "shortVersionString" and
// "url" are required, "title", "releaseNotesLink", "length" and "pubDate" optional.
std::optional<QList<Item>> parse(const QJsonValue& value, QString* error);
QJsonArray toJson(const QList<Item>& items);
QByteArray render(const QList<Item>& items, const QString& channelLink);
} // namespace AppcastFeed
