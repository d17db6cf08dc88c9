#include "AppcastFeed.h"

#include <QJsonObject>
#include <QXmlStreamWriter>

namespace AppcastFeed {

namespace {

const QString sparkleNs = QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

std::optional<Item> parseItem(const QJsonValue& value, QString* error) {
    const QJsonObject object = value.toObject();
    Item item;
    item.version = object.value("version").toString();
    item.shortVersion = object.value("shortVersionString").toString();
    item.url = object.value("url").toString();
    if (!value.isObject() || item.version.isEmpty() || item.shortVersion.isEmpty() ||
        item.url.isEmpty()) {
        *error = "every item needs \"version\", \"shortVersionString\" and \"url\" strings";
        return std::nullopt;
    }
    item.title = object.value("title").toString("Version " + item.shortVersion);
    item.releaseNotesLink = object.value("releaseNotesLink").toString();
    item.length = qint64(object.value("length").toDouble(0));
    item.pubDate = object.value("pubDate").toString();
    return item;
}

} // namespace

std::optional<QList<Item>> parse(const QJsonValue& value, QString* error) {
    const QJsonValue list = value.isObject() ? value.toObject().value("items") : value;
    if (!list.isArray()) {
        *error = "expected {\"items\": [...]}";
        return std::nullopt;
    }
    QList<Item> items;
    for (const QJsonValue& entry : list.toArray()) {
        const std::optional<Item> item = parseItem(entry, error);
        if (!item)
            return std::nullopt;
        items << *item;
    }
    return items;
}

QJsonArray toJson(const QList<Item>& items) {
    QJsonArray array;
    for (const Item& item : items) {
        array.append(QJsonObject{{"title", item.title},
                                 {"version", item.version},
                                 {"shortVersionString", item.shortVersion},
                                 {"releaseNotesLink", item.releaseNotesLink},
                                 {"url", item.url},
                                 {"length", item.length},
                                 {"pubDate", item.pubDate}});
    }
    return array;
}

QByteArray render(const QList<Item>& items, const QString& channelLink) {
    QByteArray xml;
    QXmlStreamWriter out(&xml);
    out.setAutoFormatting(true);
    out.writeStartDocument();
    out.writeNamespace(sparkleNs, "sparkle");
    out.writeStartElement("rss");
    out.writeAttribute("version", "2.0");
    out.writeStartElement("channel");
    out.writeTextElement("title", "Glintext");
    out.writeTextElement("link", channelLink);
    out.writeTextElement("description", "Glintext releases");
    out.writeTextElement("language", "en");
    for (const Item& item : items) {
        out.writeStartElement("item");
        out.writeTextElement("title", item.title);
        if (!item.pubDate.isEmpty())
            out.writeTextElement("pubDate", item.pubDate);
        out.writeTextElement(sparkleNs, "version", item.version);
        out.writeTextElement(sparkleNs, "shortVersionString", item.shortVersion);
        if (!item.releaseNotesLink.isEmpty())
            out.writeTextElement(sparkleNs, "releaseNotesLink", item.releaseNotesLink);
        out.writeEmptyElement("enclosure");
        out.writeAttribute("url", item.url);
        out.writeAttribute("length", QString::number(item.length));
        out.writeAttribute("type", "application/octet-stream");
        out.writeAttribute(sparkleNs, "version", item.version);
        out.writeAttribute(sparkleNs, "shortVersionString", item.shortVersion);
        out.writeEndElement();
    }
    out.writeEndElement();
    out.writeEndElement();
    out.writeEndDocument();
    return xml;
}

} // namespace AppcastFeed
