#include "support/Appcast.h"

#include <QXmlStreamReader>

namespace {

const QString sparkleNs = QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

// A version split into runs of digits and runs of letters; separators only separate.
QStringList tokens(const QString& version) {
    QStringList parts;
    QString run;
    auto flush = [&] {
        if (!run.isEmpty())
            parts << run;
        run.clear();
    };
    for (const QChar c : version) {
        if (!c.isLetterOrNumber()) {
            flush();
            continue;
        }
        if (!run.isEmpty() && run.back().isDigit() != c.isDigit())
            flush();
        run += c;
    }
    flush();
    return parts;
}

bool isNumber(const QString& token) {
    return !token.isEmpty() && token.front().isDigit();
}

int compareNumbers(QString a, QString b) {
    while (a.size() > 1 && a.front() == u'0')
        a.remove(0, 1);
    while (b.size() > 1 && b.front() == u'0')
        b.remove(0, 1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

// What a version has beyond the other's end: more numbers make it newer ("1.0.1" > "1.0"),
// a letter run makes it a pre-release ("1.0b1" < "1.0"); zeros change nothing.
int compareTail(const QStringList& longer, qsizetype from) {
    for (qsizetype i = from; i < longer.size(); ++i) {
        if (!isNumber(longer[i]))
            return -1;
        if (compareNumbers(longer[i], QStringLiteral("0")) != 0)
            return 1;
    }
    return 0;
}

void readItem(QXmlStreamReader& xml, Appcast::Item& item) {
    while (xml.readNextStartElement()) {
        const bool sparkle = xml.namespaceUri() == sparkleNs;
        const QStringView name = xml.name();
        if (name == u"enclosure" && !sparkle) {
            const QXmlStreamAttributes attributes = xml.attributes();
            item.downloadUrl = QUrl(attributes.value("url").toString());
            if (item.version.isEmpty())
                item.version = attributes.value(sparkleNs, "version").toString();
            if (item.shortVersion.isEmpty())
                item.shortVersion = attributes.value(sparkleNs, "shortVersionString").toString();
            xml.skipCurrentElement();
        } else if (name == u"title" && !sparkle) {
            item.title = xml.readElementText().trimmed();
        } else if (sparkle && name == u"version") {
            item.version = xml.readElementText().trimmed();
        } else if (sparkle && name == u"shortVersionString") {
            item.shortVersion = xml.readElementText().trimmed();
        } else if (sparkle && name == u"releaseNotesLink") {
            item.releaseNotesLink = QUrl(xml.readElementText().trimmed());
        } else {
            xml.skipCurrentElement();
        }
    }
}

} // namespace

std::optional<QList<Appcast::Item>> Appcast::parse(const QByteArray& data, QString* error) {
    QXmlStreamReader xml(data);
    QList<Item> items;
    bool sawChannel = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"channel") {
            sawChannel = true;
        } else if (xml.name() == u"item" && sawChannel) {
            Item item;
            readItem(xml, item);
            if (item.shortVersion.isEmpty())
                item.shortVersion = item.version;
            if (!item.version.isEmpty() && item.downloadUrl.isValid())
                items << item;
        }
    }
    if (xml.hasError() || !sawChannel) {
        if (error)
            *error = xml.hasError() ? xml.errorString() : QStringLiteral("not an RSS feed");
        return std::nullopt;
    }
    return items;
}

std::optional<Appcast::Item> Appcast::newestAfter(const QList<Item>& items,
                                                  const QString& currentVersion) {
    std::optional<Item> newest;
    for (const Item& item : items) {
        if (compareVersions(item.version, currentVersion) <= 0)
            continue;
        if (!newest || compareVersions(item.version, newest->version) > 0)
            newest = item;
    }
    return newest;
}

int Appcast::compareVersions(const QString& a, const QString& b) {
    const QStringList left = tokens(a);
    const QStringList right = tokens(b);
    const qsizetype common = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        const bool leftNumber = isNumber(left[i]);
        if (leftNumber != isNumber(right[i]))
            return leftNumber ? 1 : -1; // a release number beats a pre-release tag
        const int order = leftNumber ? compareNumbers(left[i], right[i])
                                     : left[i].compare(right[i], Qt::CaseInsensitive);
        if (order != 0)
            return order < 0 ? -1 : 1;
    }
    if (left.size() > right.size())
        return compareTail(left, common);
    if (right.size() > left.size())
        return -compareTail(right, common);
    return 0;
}
